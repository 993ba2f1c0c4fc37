#include <gtest/gtest.h>
#include "demo/DemoLaunch.h"
#include "tests/support/Sandbox.h"

using namespace juce;

// What the demo program's window says about how it was started: the association and the
// command line hand it a file, the desktop shortcut starts it without one.
namespace
{
    String utf8 (const char* text)   { return String (CharPointer_UTF8 (text)); }
}

TEST (DemoLaunch, TitleAndTextNameTheGivenFileExactlyAndTheWorkingFolder)
{
    Sandbox sandbox;
    const auto programFolder = sandbox.folder (utf8 ("Программы José/Kestrune Sorna"));
    const auto preset = sandbox.folder (utf8 ("Документы Zoë/Kestrune/Sorna/presets")).getChildFile (utf8 ("Pad - Warm Ñandú 1.2.srn"));

    const auto alone = DemoLaunch::fromArguments ({}, programFolder);
    EXPECT_FALSE (alone.hasPreset());
    EXPECT_EQ (alone.windowTitle(), "Sorna 1.8 demo");
    EXPECT_EQ (alone.description(), "Preset: none\nWorking folder: " + programFolder.getFullPathName() + "\n");

    const auto opened = DemoLaunch::fromArguments ({ preset.getFullPathName() }, programFolder);
    EXPECT_EQ (opened.windowTitle(), utf8 ("Sorna 1.8 demo - Pad - Warm Ñandú 1.2.srn"));
    EXPECT_EQ (opened.description(), "Preset: " + preset.getFullPathName()
                                         + "\nWorking folder: " + programFolder.getFullPathName() + "\n");

    // A name typed relative to the working folder is shown as the full path it stands for.
    const auto relative = DemoLaunch::fromArguments ({ "", utf8 ("../../Документы Zoë/Kestrune/Sorna/presets/Pad - Warm Ñandú 1.2.srn") },
                                                     programFolder);
    EXPECT_EQ (relative.preset.getFullPathName(), preset.getFullPathName());
    EXPECT_TRUE (relative.description().contains ("Preset: " + preset.getFullPathName() + "\n"));
}
