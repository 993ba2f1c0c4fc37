#pragma once

#include <juce_core/juce_core.h>

// The user's choices as the installation job reads them: a copy of the screen's controls
// taken when the user presses "Accept and install".
struct InstallOptions
{
    struct PluginRow
    {
        juce::String folder;   // as typed, may be empty
        int format = 0;        // PluginFormat; 0 when nothing is selected
    };

    juce::Array<PluginRow> pluginRows;
    juce::String standaloneFolder;
    bool createDesktopShortcut = true;
};
