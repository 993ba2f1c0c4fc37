#pragma once

#include <juce_core/juce_core.h>

// The product's facts: every subsystem and the tools take them from here. The name, maker and
// program file names come from product/Product.cmake, the version and build number from the
// project's version; the Windows resources are configured from the same variables.
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

    // The plug-in's file in each format; the payload carries all but the AAX one.
    constexpr const char* vst32FileName = SORNA_PRODUCT_NAME ".dll";
    constexpr const char* vst64FileName = SORNA_PRODUCT_NAME "64.dll";
    constexpr const char* vst3_32FileName = SORNA_PRODUCT_NAME ".vst3";
    constexpr const char* vst3_64FileName = SORNA_PRODUCT_NAME "64.vst3";
    constexpr const char* aaxFileName = SORNA_PRODUCT_NAME ".aaxplugin";

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

    // A part's entry in the payload ("data/presets/"; "/" marks a folder).
    inline juce::String contentEntry (const char* partName)
    {
        return juce::String (contentFolderName) + "/" + partName + "/";
    }

    // The entries of the three content parts, in the order an installation copies them.
    inline juce::StringArray contentEntries()
    {
        return { contentEntry (presetsFolderName), contentEntry (meshFolderName), contentEntry (tutorialsFolderName) };
    }

    // Every entry the payload must hold for an installation to be complete: the four plug-in
    // files, the stand-alone folder's files and the content parts.
    inline juce::StringArray requiredPayloadEntries()
    {
        juce::StringArray entries { vst32FileName, vst64FileName, vst3_32FileName, vst3_64FileName,
                                    executableName, library32Name, library64Name, uninstallerName };
        entries.addArray (contentEntries());
        return entries;
    }

    inline juce::String administratorHint()
    {
        return "\nIf not already, try running this installer with administrator privileges:\n"
               "(right click the installer, select 'Run as administrator...').\n";
    }
}
