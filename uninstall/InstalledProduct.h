#pragma once

#include "uninstall/ContentList.h"

class InstallProperties;

// What an installation left on this machine, as far as the uninstaller can tell: the folders
// that the remembered choices name, and the content files that the payload placed.
struct InstalledProduct
{
    struct PluginRow
    {
        juce::File folder;
        int format = 0;     // a PluginFormat
    };

    juce::File standaloneFolder;        // a default File when not known
    juce::File contentFolder;
    juce::Array<PluginRow> pluginRows;
    juce::File desktop;
    juce::File propertiesFile;
    juce::Array<ContentFile> contentFiles;

    // What could not be identified, one line each, for the final report.
    juce::StringArray unknown;

    // The remembered choices come from install.xml, or from the registry when it is missing
    // (InstallProperties decides). Without a remembered programs folder, the uninstall entry's
    // InstallLocation names it, or else the running uninstaller's own folder when the installed
    // program is there too; the content folder is always where the installer puts it.
    static InstalledProduct find (const InstallProperties& properties,
                                  const juce::Array<ContentFile>& contentFiles,
                                  const juce::File& runningUninstaller);

    juce::File executable() const;      // the installed stand-alone program, if the folder is known
};
