#include "install/RegistryRecords.h"
#include "platform/Registry.h"
#include "tests/support/JobFixture.h"
#include "tests/support/Processes.h"

#include <unistd.h>

// The uninstaller program itself after an installation into a sandbox: its question, its
// report and its silent mode, driven with xdotool as a user would.
namespace
{
    using juce::File;
    using juce::String;

    String run (const juce::StringArray& command)
    {
        return runProcess (command, 10000).output.trim();
    }

    String waitForWindow (const String& name, int timeoutMs)
    {
        for (const auto end = juce::Time::getMillisecondCounter() + (juce::uint32) timeoutMs;
             juce::Time::getMillisecondCounter() < end; juce::Thread::sleep (100))
        {
            auto ids = juce::StringArray::fromLines (run ({ "xdotool", "search", "--name", "^" + name + "$" }));
            ids.removeEmptyStrings();

            if (! ids.isEmpty())
                return ids[0];
        }

        return {};
    }

    void press (const String& window, const String& key)
    {
        juce::Thread::sleep (300);
        run ({ "xdotool", "windowfocus", "--sync", window });
        run ({ "xdotool", "key", "--window", window, key });
    }

    // Answers a box and waits for the program to end; its exit status, or -1. On a busy
    // machine a key can reach the box before it takes input, so it is pressed again while the
    // program runs. (JUCE's ChildProcess keeps the right exit status only if nothing asks
    // after the first wait that saw the end.)
    int answerAndWait (juce::ChildProcess& process, const String& box, const String& key)
    {
        for (int attempt = 0; attempt < 10; ++attempt)
        {
            press (box, key);

            if (process.waitForProcessToFinish (3000))
                return (int) process.getExitCode();
        }

        process.kill();
        return -1;
    }

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

    // The installed uninstaller is a placeholder in the demo payload: put the real one there.
    String installUninstaller (const File& standalone)
    {
        const auto installed = standalone.getChildFile ("Uninstall.exe");
        EXPECT_TRUE (File (String (SORNA_UNINSTALLER_PATH)).copyFileTo (installed));
        EXPECT_TRUE (installed.setExecutePermission (true));
        return installed.getFullPathName();
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
        press (box, "Return");
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
