#include <gtest/gtest.h>

#include "install/InstallProperties.h"
#include "platform/Registry.h"
#include "ui/InstallerComponent.h"
#include "tests/support/GuiHelpers.h"
#include "tests/support/Sandbox.h"

// The screen starts with the remembered choices, or with folders worked out from the machine.
namespace
{
    using juce::String;

    const String productKey (InstallProperties::productRegistryKey());
    const String vst3x86 ("C:\\Program Files (x86)\\Common Files\\VST3\\");

    struct RememberedChoices : public ::testing::Test
    {
        Sandbox sandbox;
        const String programFiles = sandbox.home().getFullPathName() + "/.local/opt";

        void remember (const juce::StringPairArray& attributes, const String& tag = "SornaProperties")
        {
            juce::XmlElement root (tag);
            for (auto& key : attributes.getAllKeys())
                root.setAttribute (key, attributes[key]);

            const auto file = sandbox.appData().getChildFile ("Kestrune/Sorna/install.xml");
            file.getParentDirectory().createDirectory();
            ASSERT_TRUE (root.writeTo (file));
        }

        // Builds the screen and lets the start-up format notifications arrive.
        std::unique_ptr<InstallerComponent> openScreen()
        {
            auto screen = std::make_unique<InstallerComponent>();
            screen->setSize (798, 693);
            pumpMessages();
            return screen;
        }

        static String folder (InstallerComponent& s, int row) { return s.getPluginRows()[row]->folderEditor->getText(); }
        static int format (InstallerComponent& s, int row)    { return s.getPluginRows()[row]->formatBox->getSelectedId(); }
    };
}

TEST_F (RememberedChoices, FreshMachineGetsTheProgramFilesDefaults)
{
    auto screen = openScreen();
    EXPECT_EQ (screen->getStandaloneFolderEditor().getText(), programFiles + "/Kestrune/Sorna");
    ASSERT_EQ (screen->getPluginRows().size(), 3);
    EXPECT_EQ (format (*screen, 0), 1);
    EXPECT_EQ (folder (*screen, 0), programFiles + "/VstPlugins");
    EXPECT_EQ (format (*screen, 1), 2);
    EXPECT_EQ (folder (*screen, 1), "");
    EXPECT_EQ (format (*screen, 2), 3);
    EXPECT_EQ (folder (*screen, 2), vst3x86);
    EXPECT_TRUE (screen->getProperties().isUsingRegistryFallback());
}

TEST_F (RememberedChoices, AllFiveRowsComeBackWithASixthEmptyRow)
{
    juce::StringPairArray a;
    a.set ("InstallDir", "D:\\Progs\\");
    a.set ("PluginInstallDir", "D:\\A\\");   a.set ("FormatA", "vst64");
    a.set ("PluginInstallDir2", "D:\\B\\");  a.set ("FormatB", "vst3_64");
    a.set ("PluginInstallDir3", "D:\\C\\");  a.set ("FormatC", "vst3_32");
    a.set ("PluginInstallDir4", "a///b");     a.set ("FormatD", "aax");
    a.set ("PluginInstallDir5", "D:\\E\\");  a.set ("FormatE", "VST64");
    a.set ("PluginInstallDir6", "D:\\F\\");  a.set ("FormatF", "vst64");
    remember (a);

    auto screen = openScreen();
    EXPECT_EQ (screen->getStandaloneFolderEditor().getText(), "D:\\Progs\\");
    ASSERT_EQ (screen->getPluginRows().size(), 6);
    EXPECT_EQ (folder (*screen, 0), "D:\\A\\");    EXPECT_EQ (format (*screen, 0), 2);
    // Remembered VST3 folders survive start-up; they are not replaced by the fixed ones.
    EXPECT_EQ (folder (*screen, 1), "D:\\B\\");    EXPECT_EQ (format (*screen, 1), 4);
    EXPECT_EQ (folder (*screen, 2), "D:\\C\\");    EXPECT_EQ (format (*screen, 2), 3);
    EXPECT_EQ (folder (*screen, 3), "a//b");       EXPECT_EQ (format (*screen, 3), 0);
    EXPECT_EQ (screen->getPluginRows()[3]->formatBox->getText(), "");
    EXPECT_EQ (folder (*screen, 4), "D:\\E\\");    EXPECT_EQ (format (*screen, 4), 1);
    EXPECT_EQ (folder (*screen, 5), "");           EXPECT_EQ (format (*screen, 5), 1);
    EXPECT_FALSE (screen->getProperties().isUsingRegistryFallback());

    // A switch made by the user still brings the fixed VST3 folder.
    screen->getPluginRows()[0]->formatBox->setSelectedId (4, juce::sendNotificationSync);
    EXPECT_EQ (folder (*screen, 0), "C:\\Program Files\\Common Files\\VST3\\");
    screen->getPluginRows()[0]->formatBox->setSelectedId (2, juce::sendNotificationSync);
    EXPECT_EQ (folder (*screen, 0), "C:\\Program Files\\Common Files\\VST3\\");
}

TEST_F (RememberedChoices, AGapStopsRestoringAndShortTextsAreIgnored)
{
    juce::StringPairArray a;
    a.set ("InstallDir", "D:");
    a.set ("PluginInstallDir2", "D:\\B\\");
    a.set ("FormatB", "vst64");
    remember (a);

    auto screen = openScreen();
    EXPECT_EQ (screen->getStandaloneFolderEditor().getText(), programFiles + "/Kestrune/Sorna");
    EXPECT_EQ (folder (*screen, 0), programFiles + "/VstPlugins");
    EXPECT_EQ (format (*screen, 1), 2);
    EXPECT_EQ (folder (*screen, 1), "");
    EXPECT_EQ (folder (*screen, 2), vst3x86);
}

TEST_F (RememberedChoices, OneCharacterFolderSetsOnlyTheFormatAndThreeCharactersAreTakenAsTheyAre)
{
    juce::StringPairArray a;
    a.set ("InstallDir", "D:/");
    a.set ("PluginInstallDir", "X");
    a.set ("FormatA", "vst64");
    remember (a);

    auto screen = openScreen();
    EXPECT_EQ (screen->getStandaloneFolderEditor().getText(), "D:/");
    EXPECT_EQ (format (*screen, 0), 2);
    EXPECT_EQ (folder (*screen, 0), programFiles + "/VstPlugins");
}

TEST_F (RememberedChoices, OneCharacterFolderOfAVst3RowGivesItTheFixedVst3Folder)
{
    juce::StringPairArray a;
    a.set ("PluginInstallDir", "E:\\Restored\\");
    a.set ("FormatA", "vst3_64");
    a.set ("PluginInstallDir2", "Y");
    a.set ("FormatB", "vst3_32");
    remember (a);

    // Only a row whose folder came back keeps it through the start-up notification.
    auto screen = openScreen();
    EXPECT_EQ (format (*screen, 0), 4);
    EXPECT_EQ (folder (*screen, 0), "E:\\Restored\\");
    EXPECT_EQ (format (*screen, 1), 3);
    EXPECT_EQ (folder (*screen, 1), vst3x86);
}

TEST_F (RememberedChoices, RegistryFallbackReadsBitsWhenTheFormatKeyIsAbsent)
{
    Registry::setValue (productKey + "PluginInstallDir", "E:\\Plugins\\");
    Registry::setValue (productKey + "PluginBitsA", "64");
    Registry::setValue (productKey + "InstallDir", "E:\\Sorna\\");

    {
        auto screen = openScreen();
        EXPECT_TRUE (screen->getProperties().isUsingRegistryFallback());
        EXPECT_EQ (screen->getStandaloneFolderEditor().getText(), "E:\\Sorna\\");
        EXPECT_EQ (folder (*screen, 0), "E:\\Plugins\\");
        EXPECT_EQ (format (*screen, 0), 2);
    }

    // A malformed file is no file at all: the registry still answers.
    const auto file = sandbox.appData().getChildFile ("Kestrune/Sorna/install.xml");
    file.getParentDirectory().createDirectory();
    file.replaceWithText ("<SornaProperties InstallDir=\"broken");
    Registry::setValue (productKey + "PluginBitsA", "");

    auto screen = openScreen();
    EXPECT_TRUE (screen->getProperties().isUsingRegistryFallback());
    EXPECT_EQ (screen->getStandaloneFolderEditor().getText(), "E:\\Sorna\\");
    EXPECT_EQ (format (*screen, 0), 1);
}

TEST_F (RememberedChoices, HostFoldersFromTheRegistry)
{
    Registry::setValue ("HKEY_CURRENT_USER\\Software\\VST\\VSTPluginsPath", "D:\\Audio\\VST");
    EXPECT_EQ (folder (*openScreen(), 0), "D:/Audio/VST/");

    Registry::setValue ("HKEY_CURRENT_USER\\Software\\VST\\VSTPluginsPath", "D:\\Audio\\VST\\");
    EXPECT_EQ (folder (*openScreen(), 0), "D:/Audio/VST//");

    // Without a VST folder value, the host's own plug-in folder if it exists.
    Registry::setValue ("HKEY_CURRENT_USER\\Software\\VST\\VSTPluginsPath", "");
    const auto host = sandbox.folder ("FL Studio 20");
    Registry::setValue ("HKEY_CURRENT_USER\\Software\\Image-Line\\Shared\\Paths\\FL Studio",
                        host.getChildFile ("FL.exe").getFullPathName());
    EXPECT_EQ (folder (*openScreen(), 0), programFiles + "/VstPlugins");

    sandbox.folder ("FL Studio 20/Plugins/VST");
    EXPECT_EQ (folder (*openScreen(), 0), host.getFullPathName() + "/Plugins/VST/");
}

TEST_F (RememberedChoices, ForeignRootTagIsUsed)
{
    juce::StringPairArray a;
    a.set ("InstallDir", "F:\\Tools\\Sorna\\");
    remember (a, "SomethingElse");

    auto screen = openScreen();
    EXPECT_FALSE (screen->getProperties().isUsingRegistryFallback());
    EXPECT_EQ (screen->getStandaloneFolderEditor().getText(), "F:\\Tools\\Sorna\\");
    EXPECT_EQ (screen->getProperties().getRootElement()->getTagName(), "SomethingElse");
}
