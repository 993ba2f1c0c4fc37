#pragma once

#include <juce_core/juce_core.h>

// Access to the Windows registry. Paths are full value paths including the hive, e.g.
// "HKEY_CURRENT_USER\Software\VST\VSTPluginsPath"; a path ending in "\" names the key's
// default value. On Windows this is the real registry; on Linux a stand-in keeps the same
// records in one registry export file (".reg") under the user's application data folder.
namespace Registry
{
    // A text value as it is, a 32-bit number as its decimal text; the default for a missing
    // value or one of any other kind. Never fails, never writes.
    juce::String getValue (const juce::String& valuePath, const juce::String& defaultValue = {});

    // Writes a text value (REG_SZ), creating missing keys. Returns false when it could not.
    bool setValue (const juce::String& valuePath, const juce::String& value);

    // Deletes a key with all its values and subkeys ("...\Uninstall\Sorna1.8", a closing "\"
    // allowed). Returns true when the key is gone afterwards, also when it never existed.
    bool deleteKey (const juce::String& keyPath);

    // Deletes a key only when it holds no values and no subkeys, so that what other programs
    // keep in a shared key stays. Returns false only when it could not look or could not delete:
    // a key that is gone, never existed, or still holds something is a success.
    bool deleteKeyIfEmpty (const juce::String& keyPath);

    // Deletes one value (a path ending in "\" names the key's default value). Returns true when
    // the value is gone afterwards, also when it or its key never existed.
    bool deleteValue (const juce::String& valuePath);

    // Tells the shell that file associations changed (Windows); nothing to do elsewhere.
    void notifyAssociationsChanged();

    // Where the Linux stand-in keeps its records (an empty File on Windows).
    juce::File standInFile();
}
