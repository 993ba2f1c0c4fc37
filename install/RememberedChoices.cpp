#include "install/RememberedChoices.h"
#include "install/InstallProperties.h"

namespace
{
    juce::String rowLetter (int row)
    {
        return juce::String::charToString (static_cast<juce::juce_wchar> ('A' + row));
    }

    juce::String read (const InstallProperties& properties, const juce::String& name, const juce::String& defaultValue)
    {
        return properties.getSetting (name, defaultValue, InstallProperties::productRegistryKey());
    }
}

juce::String RememberedChoices::Names::pluginFolder (int row)
{
    return "PluginInstallDir" + (row == 0 ? juce::String() : juce::String (row + 1));
}

juce::String RememberedChoices::Names::format (int row)      { return "Format" + rowLetter (row); }
juce::String RememberedChoices::Names::pluginBits (int row)  { return "PluginBits" + rowLetter (row); }

juce::Array<RememberedChoices::PluginRow> RememberedChoices::readPluginRows (const InstallProperties& properties)
{
    juce::Array<PluginRow> rows;

    for (int i = 0; i < maxRestoredRows; ++i)
    {
        const auto folder = read (properties, Names::pluginFolder (i), {});

        if (folder.isEmpty())
            break;

        PluginRow row;
        row.format = parseFormat (read (properties, Names::format (i), {}), read (properties, Names::pluginBits (i), "32"));

        // A one-character text brings back the row's format only.
        if (folder.length() >= 2)
            row.folder = folder.replace ("//", "/");

        rows.add (row);
    }

    return rows;
}

RememberedChoices::StartingRows RememberedChoices::startingRows (const juce::Array<PluginRow>& restored, int rowsShown)
{
    return { restored, juce::jmax (rowsShown, restored.size() + 1),
             restored.isEmpty() || restored.getFirst().folder.isEmpty() };
}

juce::String RememberedChoices::readStandaloneFolder (const InstallProperties& properties)
{
    const auto remembered = read (properties, Names::standaloneFolder, {});
    return remembered.length() > 2 ? remembered : juce::String();
}
