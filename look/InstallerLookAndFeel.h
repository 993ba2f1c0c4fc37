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

    InstallerLookAndFeel();
    ~InstallerLookAndFeel() override;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (InstallerLookAndFeel)
};
