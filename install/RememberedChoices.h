#pragma once

#include "targets/PluginFormat.h"

#include <juce_core/juce_core.h>

class InstallProperties;

// The choices an installation leaves in the settings store, under the names the job writes
// and the screen reads back at the next start.
namespace RememberedChoices
{
    namespace Names
    {
        constexpr const char* installedVersion = "InstalledVersion";
        constexpr const char* contentFolder = "ContentDir";
        constexpr const char* standaloneFolder = "InstallDir";

        // Folder names take no suffix for the first row and the row's number from the second on
        // ("PluginInstallDir", "PluginInstallDir2", ...); format and bitness names take the
        // letter 'A' + row ("FormatA", "PluginBitsB", ...).
        juce::String pluginFolder (int row);
        juce::String format (int row);
        juce::String pluginBits (int row);
    }

    // Rows are restored up to the first one without a folder, at most this many.
    constexpr int maxRestoredRows = 5;

    struct PluginRow
    {
        PluginFormat format = vst32;
        juce::String folder;    // empty when the remembered text was too short to restore
    };

    // The remembered plug-in rows, in order, up to the first gap. Doubled forward slashes in a
    // folder are reduced to one.
    juce::Array<PluginRow> readPluginRows (const InstallProperties& properties);

    // How the screen's plug-in rows start: the restored rows come back over its first rows, one
    // more row follows them for the next folder, and the first row takes the default plug-in
    // folder when no folder of its own came back.
    struct StartingRows
    {
        juce::Array<PluginRow> restored;
        int rowCount = 0;                   // the rows shown, at least one after the restored
        bool firstRowTakesDefault = false;
    };

    // For a screen that shows rowsShown rows before anything is restored.
    StartingRows startingRows (const juce::Array<PluginRow>& restored, int rowsShown);

    // The remembered stand-alone folder as stored, or empty when none of more than two
    // characters is remembered.
    juce::String readStandaloneFolder (const InstallProperties& properties);
}
