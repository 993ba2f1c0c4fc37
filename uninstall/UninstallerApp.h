#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// The uninstaller program. Without arguments it asks before removing anything and shows what
// stayed afterwards; with "/S" it asks and shows nothing, and its exit status says whether
// everything it should remove is gone (0) or not (1).
class UninstallerApp : public juce::JUCEApplication
{
public:
    const juce::String getApplicationName() override;
    const juce::String getApplicationVersion() override;

    // The installed uninstaller and its temporary copy run side by side on Windows.
    bool moreThanOneInstanceAllowed() override;

    void initialise (const juce::String& commandLine) override;
    void shutdown() override;
};
