#include "install/RegistryRecords.h"
#include "platform/Registry.h"
#include "platform/ShellLink.h"
#include "platform/SpecialFolders.h"
#include "targets/FolderChecks.h"
#include "tests/support/GuiHelpers.h"
#include "tests/support/JobFixture.h"
#include "tests/support/Processes.h"
#include "tests/support/Snapshots.h"
#include "ui/InstallerComponent.h"
#include "uninstall/ContentList.h"
#include "uninstall/Uninstallation.h"

#include <unistd.h>

// The uninstaller program itself after an installation into a sandbox: its question, its
// report and its silent mode, driven with xdotool as a user would; the texts of its boxes,
// read in-process; and a user's whole round trip from installing to removing.
namespace
{
    using juce::File;
    using juce::String;

    // Every file and folder below root, with sizes, as one text; the desktop's own caches
    // (dconf's, for one) left out.
    String snapshot (const File& root)
    {
        juce::StringArray lines;

        for (const auto& f : root.findChildFiles (File::findFilesAndDirectories, true))
            if (! f.isAChildOf (root.getChildFile (".cache")) && f != root.getChildFile (".cache"))
                lines.add (f.getRelativePathFrom (root) + " " + String (f.isDirectory() ? -1 : f.getSize()));

        lines.sort (false);
        return lines.joinIntoString ("\n");
    }

    // The installed uninstaller is this build's only when the payload brings none of its own
    // (SORNA_PAYLOAD may), and ZIP entries carry no file modes: put this build's there, runnable.
    String installUninstaller (const File& standalone)
    {
        const auto installed = standalone.getChildFile ("Uninstall.exe");
        EXPECT_TRUE (File (String (SORNA_UNINSTALLER_PATH)).copyFileTo (installed));
        EXPECT_TRUE (installed.setExecutePermission (true));
        return installed.getFullPathName();
    }

    // A command line as the system splits it: at blanks, a quoted part kept whole.
    juce::StringArray commandWords (const String& commandLine)
    {
        juce::StringArray words;
        words.addTokens (commandLine, " ", "\"");
        words.removeEmptyStrings();

        for (auto& word : words)
            word = word.unquoted();

        return words;
    }

    const String question ("Uninstall Sorna 1.8");
    const String report ("Sorna was removed");
}

using UninstallerWindow = JobFixture;

TEST_F (UninstallerWindow, CancelChangesNothingRemoveRemovesAndTheReportEndsIt)
{
    ASSERT_TRUE (runJob());
    const auto uninstaller = installUninstaller (standalone);
    const auto installed = snapshot (sandbox.home());
    const auto own = contentFolder().getChildFile ("presets/Mine.srn");
    ASSERT_TRUE (own.replaceWithText ("mine"));

    juce::ChildProcess cancelled;
    ASSERT_TRUE (cancelled.start (uninstaller, 0));
    auto box = waitForWindow (question, 15000);
    ASSERT_TRUE (box.isNotEmpty());
    EXPECT_EQ (answerAndWait (cancelled, box, "Escape"), 1);
    ASSERT_TRUE (own.deleteFile());
    EXPECT_EQ (snapshot (sandbox.home()), installed);
    ASSERT_TRUE (own.replaceWithText ("mine"));

    juce::ChildProcess removing;
    ASSERT_TRUE (removing.start (uninstaller, 0));
    box = waitForWindow (question, 15000);
    ASSERT_TRUE (box.isNotEmpty());
    String done;

    for (int attempt = 0; attempt < 10 && done.isEmpty(); ++attempt)
    {
        pressKey (box, "Return");
        done = waitForWindow (report, 5000);
    }

    ASSERT_TRUE (done.isNotEmpty());

    // The installation is gone before the report is closed; the user's preset stays.
    EXPECT_FALSE (standalone.exists());
    EXPECT_FALSE (plugins32.getChildFile ("Sorna.dll").exists());
    EXPECT_FALSE (sandbox.desktop().getChildFile ("Sorna.lnk").exists());
    EXPECT_FALSE (savedProperties().exists());
    EXPECT_EQ (Registry::getValue (RegistryRecords::uninstallKeyPath() + "DisplayName", "<gone>"), "<gone>");
    EXPECT_EQ (own.loadFileAsString(), "mine");
    EXPECT_EQ (contentFolder().findChildFiles (File::findFiles, true).size(), 1);

    EXPECT_EQ (answerAndWait (removing, done, "Return"), 0);
}

TEST_F (UninstallerWindow, SilentModeShowsNothingAndItsExitStatusSaysWhetherAllWent)
{
    ASSERT_TRUE (runJob());
    auto uninstaller = installUninstaller (standalone);

    auto silent = runProcess ({ uninstaller, "/S" }, 30000);
    EXPECT_EQ (silent.exitCode, 0) << silent.output;
    EXPECT_FALSE (standalone.exists());
    EXPECT_FALSE (contentFolder().getParentDirectory().exists());
    EXPECT_FALSE (sandbox.appData().getChildFile ("Kestrune/Sorna").exists());

    // Again, with nothing left to remove: harmless, and still a success.
    silent = runProcess ({ SORNA_UNINSTALLER_PATH, "/S" }, 30000);
    EXPECT_TRUE (File (String (SORNA_UNINSTALLER_PATH)).existsAsFile());
    EXPECT_EQ (silent.exitCode, 0) << silent.output;

    // A file that cannot be removed makes it fail, and a run after that finishes. Root may
    // delete from a read-only folder, so it makes the file immutable instead.
    for (auto& f : { plugins32, plugins3, standalone })
        f.createDirectory();

    ASSERT_TRUE (runJob());
    uninstaller = installUninstaller (standalone);
    const auto stuck = contentFolder().getChildFile ("tutorials").findChildFiles (File::findFiles, true)[0];
    const bool asRoot = ::geteuid() == 0;
    const auto lock = [&] (bool locked)
    {
        return asRoot ? runProcess ({ "chattr", locked ? "+i" : "-i", stuck.getFullPathName() }).exitCode == 0
                      : stuck.getParentDirectory().setReadOnly (locked);
    };

    if (! lock (true))
        GTEST_SKIP() << "cannot make " << stuck.getFullPathName() << " undeletable here";

    silent = runProcess ({ uninstaller, "/S" }, 30000);
    lock (false);
    EXPECT_EQ (silent.exitCode, 1) << silent.output;
    EXPECT_TRUE (stuck.existsAsFile());
    EXPECT_TRUE (File (uninstaller).existsAsFile());

    silent = runProcess ({ uninstaller, "/S" }, 30000);
    EXPECT_EQ (silent.exitCode, 0) << silent.output;
    EXPECT_FALSE (contentFolder().exists());
    EXPECT_FALSE (standalone.exists());
}

TEST_F (UninstallerWindow, TheQuestionAndTheReportSayWhatTheyShould)
{
    ASSERT_TRUE (runJob());
    const auto installed = standalone.getChildFile ("Uninstall.exe");
    const auto own = contentFolder().getChildFile ("presets/Mine.srn");
    ASSERT_TRUE (own.replaceWithText ("mine"));

    {
        DialogAnswerer cancel ("Cancel");
        EXPECT_EQ (Uninstallation::run (installed, false), 1);
        ASSERT_EQ (cancel.dialogs().size(), 1);
        const auto& asked = cancel.dialogs().getReference (0);
        EXPECT_EQ (asked.title, question);
        EXPECT_EQ (asked.message, "Do you really want to remove Sorna 1.8?");
        EXPECT_EQ (asked.buttons, juce::StringArray ({ "Remove", "Cancel" }));
        EXPECT_TRUE (installed.existsAsFile());
    }

    DialogAnswerer remove (juce::StringArray ({ "Remove", "OK" }));
    EXPECT_EQ (Uninstallation::run (installed, false), 0);
    ASSERT_EQ (remove.dialogs().size(), 2);
    const auto& told = remove.dialogs().getReference (1);
    EXPECT_EQ (told.title, report);
    EXPECT_EQ (told.message, "These stayed:\n" + own.getFullPathName() + " (kept: not placed by the installer)");
    EXPECT_EQ (told.buttons, juce::StringArray ({ "OK" }));
    EXPECT_FALSE (standalone.exists());
}

// Install with the screen's default choices, open a preset through the association and start
// the desktop shortcut, keep presets of one's own, then remove the installation through its
// uninstall entry, first answering Cancel. Everything but the user's presets is as before.
TEST (UninstallerRoundTrip, LeavesTheMachineAsItWasButForTheUsersPresets)
{
   #if ! SORNA_DEMO_PAYLOAD
    GTEST_SKIP() << "the titles checked are the demo program's";
   #endif

    Sandbox sandbox;
    sandbox.home().setAsCurrentWorkingDirectory();

    // The stand-in's program files folder is there before any installation, as on Windows.
    ASSERT_TRUE (SpecialFolders::programFiles().createDirectory().wasOk());
    const auto treeBefore = fileTree (sandbox.home(), true);
    const auto registryBefore = registryRecords();

    // 1. The screen's default choices, its folder checks, the installation job.
    const auto options = InstallerComponent().getInstallOptions();
    juce::StringArray pluginFolders;

    for (auto& row : options.pluginRows)
        pluginFolders.add (row.folder);

    ASSERT_FALSE (FolderChecks::createChosenFolders (pluginFolders, options.standaloneFolder).failed());
    InstallProperties properties (SpecialFolders::applicationData());
    properties.loadProperties();
    String errorText;
    RecordingProgress progress;
    ASSERT_TRUE (InstallJob (options, properties, errorText, progress).run());
    ASSERT_EQ (errorText, String());

    // ZIP entries carry no file modes: a user of the stand-in makes the programs runnable.
    const File standalone (options.standaloneFolder);

    for (auto* name : { "Sorna.exe", "Uninstall.exe" })
        ASSERT_TRUE (standalone.getChildFile (name).setExecutePermission (true)) << name;

    // 2. A factory preset through the association's open command, then the desktop shortcut
    // with the working folder it names; the demo program's title says what it was given.
    const auto content = sandbox.documents().getChildFile ("Kestrune/Sorna");
    File preset;

    for (auto& file : ContentList::embedded())
        if (preset == File() && file.path.startsWith ("presets/"))
            preset = content.getChildFile (file.path);

    ASSERT_TRUE (preset.existsAsFile());
    const auto presetType = Registry::getValue (RegistryRecords::presetExtensionKeyPath());
    const auto open = Registry::getValue ("HKEY_CURRENT_USER\\Software\\Classes\\" + presetType + "\\shell\\open\\command\\");
    const auto link = sandbox.desktop().getChildFile ("Sorna.lnk");
    const auto workingFolder = shellLinkField (link, "Working directory");
    EXPECT_EQ (File (workingFolder), standalone);

    const std::pair<juce::StringArray, String> starts[] = {
        { commandWords (open.replace ("%1", preset.getFullPathName())), "Sorna 1.8 demo - " + preset.getFileName() },
        { { "env", "-C", workingFolder, getShellLinkTarget (link) }, "Sorna 1.8 demo" }
    };

    for (auto& start : starts)
    {
        SCOPED_TRACE (start.first.joinIntoString (" "));
        StartedProgram program;
        ASSERT_TRUE (program.process.start (start.first, 0));
        const auto window = waitForWindow (start.second, 20000);
        ASSERT_TRUE (window.isNotEmpty()) << "no window titled " << start.second;
        EXPECT_NE (answerAndWait (program.process, window, "Escape"), -1) << "Escape did not close the program";
    }

    // 3. A preset of the user's own, and a changed factory preset.
    const auto own = content.getChildFile ("presets/Mine/My pad.srn");
    ASSERT_TRUE (own.create().wasOk() && own.replaceWithText ("mine"));
    ASSERT_TRUE (preset.appendText ("changed"));

    // 4. The uninstall entry's command as the programs list runs it: Cancel changes nothing,
    // then "/S" removes the installation.
    const auto installedTree = fileTree (sandbox.home(), true);
    const auto installedRegistry = registryRecords();
    const auto uninstall = commandWords (Registry::getValue (RegistryRecords::uninstallKeyPath() + "UninstallString"));

    StartedProgram cancelled;
    ASSERT_TRUE (cancelled.process.start (uninstall, 0));
    const auto box = waitForWindow (question, 15000);
    ASSERT_TRUE (box.isNotEmpty());
    EXPECT_EQ (answerAndWait (cancelled.process, box, "Escape"), 1);
    EXPECT_EQ (asText (fileTree (sandbox.home(), true)), asText (installedTree));
    EXPECT_EQ (asText (registryRecords()), asText (installedRegistry));

    auto silent = uninstall;
    silent.add ("/S");
    const auto removal = runProcess (silent, 30000);
    EXPECT_EQ (removal.exitCode, 0) << removal.output;

    // 5. As before the installation, but for the user's two presets and the folders that hold them.
    auto expected = treeBefore;

    for (auto& kept : { own, preset })
        for (auto f = kept; f != sandbox.documents(); f = f.getParentDirectory())
            expected.insert (f.getRelativePathFrom (sandbox.home()) + (f.isDirectory() ? "/" : ""));

    EXPECT_EQ (asText (fileTree (sandbox.home(), true)), asText (expected));
    EXPECT_EQ (asText (registryRecords()), asText (registryBefore));
}
