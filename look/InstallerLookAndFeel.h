#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// The installer's dark, grey-on-black appearance. One instance exists, owned by the main
// window; it is also the framework-wide default, so message boxes and the progress window
// use it too.
class InstallerLookAndFeel : public juce::LookAndFeel_V3
{
public:
    static const juce::Colour lightTextGrey;   // FFB3B3B3
    static const juce::Colour darkPanelGrey;   // FF212121
    static const juce::Colour outlineBlue;     // FF8296B4

    // An opaque grey whose channels are level × 255.996, truncated. JUCE 7's greyLevel
    // rounds instead, which would shift some of our greys (0.1, 0.3, 0.7) by one step.
    static juce::Colour greyLevel (float level) noexcept;

    // The colour with its alpha set to opacity × 255.996, truncated (same reason as above).
    static juce::Colour withOpacity (juce::Colour colour, float opacity) noexcept;

    InstallerLookAndFeel();
    ~InstallerLookAndFeel() override;

    //==============================================================================
    void drawScrollbarButton (juce::Graphics&, juce::ScrollBar&, int width, int height,
                              int buttonDirection, bool isScrollbarVertical,
                              bool isMouseOverButton, bool isButtonDown) override;

    void drawScrollbar (juce::Graphics&, juce::ScrollBar&, int x, int y, int width, int height,
                        bool isScrollbarVertical, int thumbStartPosition, int thumbSize,
                        bool isMouseOver, bool isMouseDown) override;

    void drawButtonBackground (juce::Graphics&, juce::Button&, const juce::Colour& backgroundColour,
                               bool isMouseOverButton, bool isButtonDown) override;

    void drawButtonText (juce::Graphics&, juce::TextButton&,
                         bool isMouseOverButton, bool isButtonDown) override;

    void drawTickBox (juce::Graphics&, juce::Component&, float x, float y, float w, float h,
                      bool ticked, bool isEnabled, bool isMouseOverButton, bool isButtonDown) override;

    void drawTextEditorOutline (juce::Graphics&, int width, int height, juce::TextEditor&) override;

    void drawFileBrowserRow (juce::Graphics&, int width, int height,
                             const juce::File& file, const juce::String& filename, juce::Image* icon,
                             const juce::String& fileSizeDescription,
                             const juce::String& fileTimeDescription,
                             bool isDirectory, bool isItemSelected, int itemIndex,
                             juce::DirectoryContentsDisplayComponent&) override;

    juce::Button* createFileBrowserGoUpButton() override;

    void drawAlertBox (juce::Graphics&, juce::AlertWindow&, const juce::Rectangle<int>& textArea,
                       juce::TextLayout&) override;

    void drawMenuBarBackground (juce::Graphics&, int width, int height, bool isMouseOverBar,
                                juce::MenuBarComponent&) override;
    int getDefaultMenuBarHeight() override;
    juce::Font getMenuBarFont (juce::MenuBarComponent&, int itemIndex, const juce::String& itemText) override;

    void drawComboBox (juce::Graphics&, int width, int height, bool isButtonDown,
                       int buttonX, int buttonY, int buttonW, int buttonH, juce::ComboBox&) override;

    void drawLabel (juce::Graphics&, juce::Label&) override;

    void fillResizableWindowBackground (juce::Graphics&, int w, int h, const juce::BorderSize<int>&,
                                        juce::ResizableWindow&) override;

    juce::Button* createDocumentWindowButton (int buttonType) override;

    void positionDocumentWindowButtons (juce::DocumentWindow&,
                                        int titleBarX, int titleBarY, int titleBarW, int titleBarH,
                                        juce::Button* minimiseButton,
                                        juce::Button* maximiseButton,
                                        juce::Button* closeButton,
                                        bool positionTitleBarButtonsOnLeft) override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (InstallerLookAndFeel)
};
