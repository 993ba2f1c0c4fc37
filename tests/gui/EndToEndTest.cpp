#include <gtest/gtest.h>

#include "install/RegistryRecords.h"
#include "platform/Registry.h"
#include "tests/support/PayloadCheck.h"
#include "tests/support/Processes.h"
#include "tests/support/Sandbox.h"

// These tests start the real installer as its own process on the test display and drive it
// with xdotool, as a user would.
namespace
{
    using juce::File;
    using juce::String;

    String run (const juce::StringArray& command)
    {
        return runProcess (command, 10000).output.trim();
    }

    void clickAt (const String& windowId, int x, int y)
    {
        run ({ "xdotool", "mousemove", "--window", windowId, String (x), String (y) });
        juce::Thread::sleep (200);
        run ({ "xdotool", "click", "1" });
    }

    const String windowTitle { "Sorna demo - Installer" };

    // The content of the window starts below its 1-pixel border and 25-pixel title bar.
    constexpr int contentX = 1, contentY = 26;
}

TEST (EndToEnd, ASecondInstanceShowsNothingAndLeavesTheFirstAlone)
{
    Sandbox sandbox;
    sandbox.home().setAsCurrentWorkingDirectory();

    StartedProgram first;
    ASSERT_TRUE (first.process.start (String (SORNA_INSTALLER_PATH), 0));
    const auto firstWindow = waitForWindow (windowTitle, 15000);
    ASSERT_TRUE (firstWindow.isNotEmpty());

    juce::ChildProcess second;
    ASSERT_TRUE (second.start (String (SORNA_INSTALLER_PATH), 0));
    EXPECT_TRUE (second.waitForProcessToFinish (10000));
    EXPECT_EQ (findWindows (windowTitle).size(), 1);
    EXPECT_TRUE (first.process.isRunning());
}

TEST (EndToEnd, AcceptAndInstallInstallsEverythingAndTheCompletionBoxEndsTheInstaller)
{
    Sandbox sandbox;
    sandbox.home().setAsCurrentWorkingDirectory();

    // Remembered choices steer the installation into the sandbox.
    const auto programs = sandbox.home().getChildFile ("Programs/Sorna");
    const auto plugins = sandbox.home().getChildFile ("VstPlugins");
    const auto settings = sandbox.appData().getChildFile ("Kestrune/Sorna/install.xml");
    settings.getParentDirectory().createDirectory();
    settings.replaceWithText ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<SornaProperties InstallDir=\""
                              + programs.getFullPathName() + "/\" PluginInstallDir=\"" + plugins.getFullPathName()
                              + "/\" FormatA=\"vst64\" Keep=\"me\"/>\n");

    StartedProgram installer;
    ASSERT_TRUE (installer.process.start (String (SORNA_INSTALLER_PATH), 0));
    const auto window = waitForWindow (windowTitle, 15000);
    ASSERT_TRUE (window.isNotEmpty());
    juce::Thread::sleep (500);

    // "Accept and install" at (310, 623, 317, 35) on the screen.
    clickAt (window, contentX + 310 + 158, contentY + 623 + 17);

    const auto report = waitForWindow ("Installation Complete", 120000);
    ASSERT_TRUE (report.isNotEmpty());
    EXPECT_NE (answerAndWait (installer.process, report, "Return"), -1) << "Return did not close the completion box";

    PayloadCheck payload;
    const auto content = sandbox.documents().getChildFile ("Kestrune/Sorna");
   #if SORNA_DEMO_PAYLOAD
    EXPECT_EQ (content.getChildFile ("presets").getNumberOfChildFiles (File::findFiles), 275);
   #endif
    EXPECT_EQ (payload.differencesBelow ("data/presets/", content.getChildFile ("presets")), juce::StringArray());
    EXPECT_EQ (payload.differencesBelow ("data/mesh/", content.getChildFile ("mesh")), juce::StringArray());
    EXPECT_EQ (payload.differencesBelow ("data/tutorials/", content.getChildFile ("tutorials")), juce::StringArray());
    EXPECT_TRUE (payload.matches (plugins.getChildFile ("Sorna64.dll"), "Sorna64.dll"));
    EXPECT_TRUE (payload.matches (programs.getChildFile ("Sorna.exe"), "Sorna.exe"));
    EXPECT_TRUE (payload.matches (programs.getChildFile ("ipp_srn64.dll"), "ipp_srn64.dll"));
    EXPECT_TRUE (payload.matches (programs.getChildFile ("Uninstall.exe"), "Uninstall.exe"));
    EXPECT_TRUE (sandbox.desktop().getChildFile ("Sorna.lnk").existsAsFile());
    EXPECT_EQ (sandbox.temp().findChildFiles (File::findFilesAndDirectories, false, "Sorna*"), juce::Array<File>());

    auto xml = juce::parseXML (settings);
    ASSERT_NE (xml, nullptr);
    EXPECT_EQ (xml->getStringAttribute ("InstalledVersion"), "1.8");
    EXPECT_EQ (xml->getStringAttribute ("InstallDir"), programs.getFullPathName() + "/");
    EXPECT_EQ (xml->getStringAttribute ("FormatA"), "vst64");
    EXPECT_EQ (xml->getStringAttribute ("Keep"), "me");

    EXPECT_EQ (Registry::getValue (RegistryRecords::uninstallKeyPath() + "InstallLocation"), programs.getFullPathName() + "/");
    EXPECT_EQ (Registry::getValue ("HKEY_CURRENT_USER\\Software\\Classes\\SornaPreset\\"), "Sorna Preset");
}

TEST (EndToEnd, TheWindowsCloseButtonAsksAndAbortEndsTheInstallerWithoutInstalling)
{
    Sandbox sandbox;
    sandbox.home().setAsCurrentWorkingDirectory();

    StartedProgram installer;
    ASSERT_TRUE (installer.process.start (String (SORNA_INSTALLER_PATH), 0));
    const auto window = waitForWindow (windowTitle, 15000);
    ASSERT_TRUE (window.isNotEmpty());
    juce::Thread::sleep (500);

    // The close button is the rightmost 35 x 25 of the title bar; Escape answers "Cancel".
    clickAt (window, 800 - 18, 13);
    auto question = waitForWindow ("Abort installation", 10000);
    ASSERT_TRUE (question.isNotEmpty());
    EXPECT_TRUE (answerWhileShown ("Abort installation", "Escape"));
    juce::Thread::sleep (500);
    EXPECT_TRUE (installer.process.isRunning());

    // Return answers "Abort": the installer ends and nothing was installed.
    clickAt (window, 800 - 18, 13);
    question = waitForWindow ("Abort installation", 10000);
    ASSERT_TRUE (question.isNotEmpty());
    EXPECT_NE (answerAndWait (installer.process, question, "Return"), -1) << "Return did not abort the installer";
    EXPECT_FALSE (sandbox.documents().getChildFile ("Kestrune").exists());
    EXPECT_FALSE (sandbox.appData().getChildFile ("Kestrune/Sorna/install.xml").exists());
}
