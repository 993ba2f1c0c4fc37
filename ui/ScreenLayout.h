#pragma once

#include <juce_graphics/juce_graphics.h>

// The screen's measures, in pixels, and its text sizes and colours. Rows stack from the top
// below the header; the licence takes what is left between the shortcut toggle and the buttons
// at the bottom.
namespace ScreenLayout
{
    // The version line and the hints in empty folder fields.
    inline const juce::Colour greyText { juce::Colours::grey };
    constexpr float licenceFontHeight = 16.0f;

    constexpr int headerHeight = 110;           // logos and version line
    constexpr int makerLogoRightMargin = 25;

    // The maker's logo is drawn within two thirds of its own width.
    constexpr int makerLogoAreaWidth (int logoWidth)  { return 2 * logoWidth / 3; }
    constexpr int productLogoX = 30, productLogoY = 20;
    constexpr int versionLineX = 90, versionLineY = 63, versionLineWidth = 140, versionLineHeight = 30;

    constexpr int sideMarginDivisor = 8;        // each side keeps an eighth of the width
    constexpr int verticalMargin = 10;
    constexpr int rowsTop = 100;                // below the margin

    constexpr int rowHeight = 25;
    constexpr int rowGap = 5;
    constexpr int labelWidth = 30;              // room for a row's attached label
    constexpr int browseButtonWidth = 25;
    constexpr int browseButtonGap = 8;
    constexpr int formatBoxWidth = 95;
    constexpr int formatBoxGap = 5;
    constexpr int addRowButtonOffset = 40, addRowButtonWidth = 35;

    constexpr int standaloneRowGap = 8;
    constexpr int shortcutGap = 20;
    constexpr int shortcutToggleSize = 24;
    constexpr int shortcutRowHeight = 35;

    constexpr int buttonAreaHeight = 60;
    constexpr int buttonAreaInset = 50;
    constexpr int buttonBottomMargin = 25;
    constexpr int buttonGap = 4;

    // "Cancel" takes a fifth of the screen's width, "Accept and install" two fifths, each
    // narrowed by the same few pixels.
    constexpr int buttonNarrowing = 2;
    constexpr int cancelButtonWidth (int screenWidth)   { return screenWidth / 5 - buttonNarrowing; }
    constexpr int installButtonWidth (int screenWidth)  { return (2 * screenWidth) / 5 - buttonNarrowing; }
    constexpr int licenceInset = 50;

    constexpr int addedRowWindowGrowth = 35;    // the window grows by this per "+" press
}
