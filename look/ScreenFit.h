#pragma once

#include <juce_graphics/juce_graphics.h>

// A window that its display cannot hold at the system's scaling (a laptop's 1920 x 1080 screen at
// 150 %, say, leaves 672 of the window's 720 units above the taskbar) is shown smaller, and so
// is everything else the program shows: its boxes and its progress window. The layout stays
// as it is, in the window's own units; only the scale changes.
namespace ScreenFit
{
    // The installer's window, in its own units: every window and box of the product is scaled
    // so that a window of this size fits, the uninstaller's boxes too.
    constexpr int windowWidth = 800, windowHeight = 720;

    // The scale at which a window of width x height units fits inside the work area (in the
    // same units): just small enough, and never above 1.
    float scaleToFit (juce::Rectangle<int> workArea, int width, int height);

    // Scales everything the program shows so that a window of width x height units fits the
    // main display's work area; returns the scale.
    float fitToMainDisplay (int width, int height);
}
