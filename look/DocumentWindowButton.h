#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// A title bar button of the main window: a small rounded slab in the button's own colour with
// a black glyph, more opaque under the mouse and when pressed.
class DocumentWindowButton : public juce::Button
{
public:
    DocumentWindowButton (const juce::String& name, juce::Colour baseColour,
                          const juce::Path& normalGlyph, const juce::Path& toggledGlyph);
    ~DocumentWindowButton() override;

    void paintButton (juce::Graphics&, bool isMouseOverButton, bool isButtonDown) override;

private:
    const juce::Colour colour;
    const juce::Path normalShape, toggledShape;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (DocumentWindowButton)
};
