#pragma once

#include <juce_core/juce_core.h>

// The traces an installation leaves in the registry: the uninstall entry and the ".srn"
// preset file association. Both are fire-and-forget for the installation job.
namespace RegistryRecords
{
    // "HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows\CurrentVersion\Uninstall\Sorna1.8\"
    juce::String uninstallKeyPath();

    // Writes the twelve uninstall values for the normalised stand-alone folder (backslashes,
    // closing backslash), each independently of the others' success.
    void writeUninstallEntry (const juce::String& standaloneFolder);

    // Associates ".srn" presets with the installed executable for the current user; stops at
    // the first value that cannot be written and returns false then.
    bool registerPresetFileType (const juce::File& executable);
}
