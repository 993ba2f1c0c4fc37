#include <gtest/gtest.h>

#include "platform/Registry.h"
#include "targets/DefaultFolders.h"
#include "targets/PluginFormat.h"
#include "tests/support/Sandbox.h"

// The folders offered when nothing is remembered, and the fixed VST3 folders.
namespace
{
    using juce::String;

    const String vstPathValue ("HKEY_CURRENT_USER\\Software\\VST\\VSTPluginsPath");
    const String hostValue ("HKEY_CURRENT_USER\\Software\\Image-Line\\Shared\\Paths\\FL Studio");
}

TEST (DefaultFolders, ProgramFilesFolderFollowsTheHomeAndDecidesBetweenSteinbergAndPlainVstPlugins)
{
    Sandbox sandbox;
    const auto programFiles = sandbox.home().getFullPathName() + "/.local/opt";

    EXPECT_EQ (DefaultFolders::standaloneFolder(), programFiles + "/Kestrune/Sorna");
    EXPECT_EQ (DefaultFolders::pluginFolder(), programFiles + "/VstPlugins");

    sandbox.folder (".local/opt/Steinberg/VstPlugins");
    EXPECT_EQ (DefaultFolders::pluginFolder(), programFiles + "/Steinberg/VstPlugins");
}

TEST (DefaultFolders, RegistryValuesComeBeforeTheProgramFilesFolder)
{
    Sandbox sandbox;
    sandbox.folder (".local/opt/Steinberg/VstPlugins");

    // A host whose plug-in folder does not exist gives nothing.
    const auto host = sandbox.folder ("Host");
    ASSERT_TRUE (Registry::setValue (hostValue, host.getChildFile ("FL.exe").getFullPathName()));
    EXPECT_TRUE (DefaultFolders::pluginFolder().endsWith ("/Steinberg/VstPlugins"));

    sandbox.folder ("Host/Plugins/VST");
    EXPECT_EQ (DefaultFolders::pluginFolder(), host.getFullPathName() + "/Plugins/VST/");

    // The machine's VST folder wins over both; the closing slash is added before backslashes
    // turn into slashes.
    ASSERT_TRUE (Registry::setValue (vstPathValue, "D:\\Audio\\VST"));
    EXPECT_EQ (DefaultFolders::pluginFolder(), "D:/Audio/VST/");
    ASSERT_TRUE (Registry::setValue (vstPathValue, "D:\\Audio\\VST\\"));
    EXPECT_EQ (DefaultFolders::pluginFolder(), "D:/Audio/VST//");
}

TEST (DefaultFolders, OnlyVst3FormatsBringAFolder)
{
    EXPECT_EQ (DefaultFolders::vst3Folder (vst3_32), "C:\\Program Files (x86)\\Common Files\\VST3\\");
    EXPECT_EQ (DefaultFolders::vst3Folder (vst3_64), "C:\\Program Files\\Common Files\\VST3\\");

    for (int format : { 0, 1, 2, 5, 6 })
        EXPECT_EQ (DefaultFolders::vst3Folder (format), String()) << format;
}
