#include <gtest/gtest.h>

#include "tests/support/JobFixture.h"
#include "tests/support/Processes.h"

// The installed demo program as a user starts it on Linux: from the desktop shortcut the job
// made (its target and working folder read back with lnkinfo), and with a preset whose path has
// spaces and non-ASCII letters, as the association would hand it over.
namespace
{
    using juce::File;
    using juce::String;

    String utf8 (const char* text)   { return String (juce::CharPointer_UTF8 (text)); }

    String run (const juce::StringArray& command)
    {
        return runProcess (command, 10000).output.trim();
    }

    // What the program's window shows, copied out of it as a user would (a click into the text,
    // select all, copy) and read back with xclip (until the copy has arrived). With no window
    // manager nothing hands a new window the keyboard, so the window is given it first, and the
    // steps are tried again while a window that has only just appeared still loses the keys.
    String copiedText (const String& windowId)
    {
        for (int attempt = 0; attempt < 5; ++attempt)
        {
            run ({ "xdotool", "windowfocus", "--sync", windowId });
            run ({ "xdotool", "mousemove", "--window", windowId, "300", "150", "click", "1" });
            run ({ "xdotool", "key", "--clearmodifiers", "ctrl+a", "ctrl+c" });

            for (int i = 0; i < 20; ++i, juce::Thread::sleep (100))
            {
                const auto copied = runProcess ({ "xclip", "-o", "-selection", "clipboard", "-t", "UTF8_STRING" }, 5000);

                if (copied.exitCode == 0 && copied.output.isNotEmpty())
                    return copied.output;
            }
        }

        return {};
    }
}

struct DemoProgram : public JobFixture {};

TEST_F (DemoProgram, StartsFromTheShortcutsTargetAndShowsTheExactPresetPathItIsGiven)
{
    standalone = sandbox.folder (utf8 ("Программы José/Kestrune Sorna"));
    options.standaloneFolder = standalone.getFullPathName();
    options.createDesktopShortcut = true;
    ASSERT_TRUE (runJob());
    ASSERT_EQ (errorText, String());

    const auto link = sandbox.desktop().getChildFile ("Sorna.lnk");
    const auto report = run ({ "lnkinfo", link.getFullPathName() });
    const File target (shellLinkField (link, "Local path"));
    const auto workingFolder = shellLinkField (link, "Working directory");
    ASSERT_EQ (target, standalone.getChildFile ("Sorna.exe")) << report;
    ASSERT_EQ (File (workingFolder), standalone) << report;
    ASSERT_TRUE (payload.matches (target, "Sorna.exe"));

    // ZIP entries carry no Unix file modes, so the Linux stand-in installs the program without
    // its execute bit; a user of the stand-in would set it.
    ASSERT_TRUE (target.setExecutePermission (true));

    const auto preset = contentFolder().getChildFile (utf8 ("presets/Мой звук Zoë 2.srn"));
    const juce::MemoryBlock presetBytes ("<SornaPreset name=\"mine\"/>\n", 27);
    ASSERT_TRUE (preset.replaceWithData (presetBytes.getData(), presetBytes.getSize()));
    ASSERT_TRUE (preset.setLastModificationTime (juce::Time (2021, 2, 3, 4, 5, 6, 0, true)));

    struct Start { juce::StringArray arguments; String title, text; };
    const Start starts[] = {
        { {}, "Sorna 1.8 demo", "Preset: none\nWorking folder: " + standalone.getFullPathName() + "\n" },
        { { preset.getFullPathName() }, utf8 ("Sorna 1.8 demo - Мой звук Zoë 2.srn"),
          "Preset: " + preset.getFullPathName() + "\nWorking folder: " + standalone.getFullPathName() + "\n" },
    };

    for (auto& start : starts)
    {
        SCOPED_TRACE (start.title);
        StartedProgram program;
        juce::StringArray command { "env", "-C", workingFolder, target.getFullPathName() };
        command.addArray (start.arguments);
        ASSERT_TRUE (program.process.start (command, 0));

        const auto window = waitForWindow (start.title, 20000);
        ASSERT_TRUE (window.isNotEmpty()) << "no window titled " << start.title;
        EXPECT_EQ (copiedText (window), start.text);

        EXPECT_NE (answerAndWait (program.process, window, "Escape"), -1) << "Escape did not close the program";
    }

    juce::MemoryBlock after;
    EXPECT_TRUE (preset.loadFileAsData (after) && after == presetBytes) << "the program changed the preset";
    EXPECT_EQ (preset.getLastModificationTime(), juce::Time (2021, 2, 3, 4, 5, 6, 0, true));
}
