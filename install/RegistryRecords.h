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

    // The program that the uninstall entry's UninstallString starts; an empty File when there is
    // no such value or it names no full path.
    juce::File registeredUninstaller();

    // "HKEY_CURRENT_USER\Software\Classes\.srn\": its default value names the preset type.
    juce::String presetExtensionKeyPath();

    // "SornaPreset", and its key "HKEY_CURRENT_USER\Software\Classes\SornaPreset\".
    juce::String presetTypeName();
    juce::String presetTypeKeyPath();

    // The program that the registered preset type opens presets with, read back from its open
    // command; an empty File when there is no such command or it names no full path.
    juce::File registeredPresetProgram();

    // Associates ".srn" presets with the installed executable for the current user; stops at
    // the first value that cannot be written and returns false then.
    bool registerPresetFileType (const juce::File& executable);

    // Takes back what registerPresetFileType wrote for this executable: each value only while it
    // still holds what was written, then each key that nothing else is left in, so that what
    // other programs added (".srn\OpenWithProgids", another verb) stays. False when something
    // that should go could not be removed.
    bool unregisterPresetFileType (const juce::File& executable);
}
