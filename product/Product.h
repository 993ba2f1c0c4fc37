#pragma once

#include <juce_core/juce_core.h>

// The product's facts: every subsystem, the tools and the Windows resources take them from here.
// The name, maker, version and build number come from product/CMakeLists.txt.
namespace Product
{
    constexpr const char* name = SORNA_PRODUCT_NAME;
    constexpr const char* maker = SORNA_PRODUCT_MAKER;
    constexpr const char* publisher = SORNA_PRODUCT_MAKER ", Inc.";
    constexpr int versionMajor = SORNA_VERSION_MAJOR;
    constexpr int versionMinor = SORNA_VERSION_MINOR;
    constexpr int build = SORNA_BUILD_NUMBER;

    // "1.8": the version always appears with one decimal place.
    inline juce::String versionString() { return juce::String (versionMajor) + "." + juce::String (versionMinor); }

    // The files of the stand-alone folder; the build names its programs alike.
    constexpr const char* executableName = SORNA_EXECUTABLE_NAME;
    constexpr const char* library32Name = "ipp_srn.dll";
    constexpr const char* library64Name = "ipp_srn64.dll";
    constexpr const char* uninstallerName = SORNA_UNINSTALLER_NAME;

    // Preset files, and the type the shell knows them by.
    constexpr const char* presetExtension = ".srn";

    // The payload's content folder and its three parts.
    constexpr const char* contentFolderName = "data";
    constexpr const char* presetsFolderName = "presets";
    constexpr const char* meshFolderName = "mesh";
    constexpr const char* tutorialsFolderName = "tutorials";

    // Every entry the payload must hold for an installation to be complete: the four plug-in
    // files, the stand-alone folder's files and the content folders ("/" marks a folder).
    inline juce::StringArray requiredPayloadEntries()
    {
        const juce::String data (contentFolderName);
        return { juce::String (name) + ".dll", juce::String (name) + "64.dll",
                 juce::String (name) + ".vst3", juce::String (name) + "64.vst3",
                 executableName, library32Name, library64Name, uninstallerName,
                 data + "/" + presetsFolderName + "/", data + "/" + meshFolderName + "/",
                 data + "/" + tutorialsFolderName + "/" };
    }

    inline juce::String administratorHint()
    {
        return "\nIf not already, try running this installer with administrator privileges:\n"
               "(right click the installer, select 'Run as administrator...').\n";
    }
}
