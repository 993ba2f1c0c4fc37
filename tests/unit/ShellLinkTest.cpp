#include <gtest/gtest.h>
#include "platform/ShellLink.h"
#include "tests/support/Sandbox.h"

// Links are read back with lnkinfo (Debian's liblnk-utils, installed by scripts/setup), a reader
// written independently from the format's documentation, so a link that only our own code
// could read does not pass.
namespace
{
    struct LinkReport
    {
        juce::String text;
        juce::StringPairArray fields;

        bool has (const juce::String& key) const { return fields.containsKey (key); }
        juce::String operator[] (const juce::String& key) const { return fields[key]; }
    };

    // lnkinfo prints "<tab>Name<tabs>: value" lines; the first occurrence of a name counts.
    LinkReport readLink (const juce::File& link)
    {
        LinkReport report;
        juce::ChildProcess lnkinfo;

        // A missing program is not seen by start(): the forked child just fails, so the exit code
        // and the empty output are what tell.
        const auto started = lnkinfo.start (juce::StringArray { "lnkinfo", link.getFullPathName() });
        report.text = started ? lnkinfo.readAllProcessOutput() : juce::String();
        const auto finished = started && lnkinfo.waitForProcessToFinish (10000);
        EXPECT_TRUE (finished && lnkinfo.getExitCode() == 0) << "lnkinfo (Debian's liblnk-utils, installed by scripts/setup) did not read "
                                  << link.getFullPathName() << "; started " << started << ", exit code "
                                  << (finished ? (int) lnkinfo.getExitCode() : -1) << ", output:\n" << report.text;

        for (auto line : juce::StringArray::fromLines (report.text))
        {
            if (! line.startsWithChar ('\t') || ! line.contains (":"))
                continue;

            const auto key = line.upToFirstOccurrenceOf (":", false, false).trim();

            if (! report.fields.containsKey (key))
                report.fields.set (key, line.fromFirstOccurrenceOf (":", false, false).substring (1));
        }

        return report;
    }

    const juce::String windowsTarget = juce::CharPointer_UTF8 ("C:\\Users\\Jos\xc3\xa9\\"
        "\xd0\x9f\xd1\x80\xd0\xbe\xd0\xb3\xd1\x80\xd0\xb0\xd0\xbc\xd0\xbc\xd1\x8b\\Sorna.exe");
    const juce::String windowsFolder = windowsTarget.upToLastOccurrenceOf ("\\", true, false);
}

TEST (ShellLink, NonAsciiWindowsTargetReadsBackWithEveryField)
{
    Sandbox sandbox;
    const auto link = sandbox.desktop().getChildFile ("Sorna.lnk");
    juce::String errors;

    EXPECT_EQ (createShellLink (windowsTarget, link.getFullPathName(), "Spectral synthesizer",
                                windowsFolder, windowsTarget, errors), ShellLinkResults::ok);
    EXPECT_EQ (errors, "");

    const auto report = readLink (link);
    EXPECT_EQ (report["Local path"], windowsTarget) << report.text;
    EXPECT_EQ (report["Description"], "Spectral synthesizer") << report.text;
    EXPECT_EQ (report["Working directory"], windowsFolder) << report.text;
    EXPECT_EQ (report["Icon location"], windowsTarget) << report.text;
    EXPECT_FALSE (report.has ("Relative path")) << "a Windows drive has no way from a Linux folder";
}

TEST (ShellLink, LinuxTargetWithSpacesAlsoKeepsTheWayFromTheLink)
{
    Sandbox sandbox;
    const auto programs = sandbox.folder (juce::CharPointer_UTF8 ("My Programs/S\xc3\xb6rna 1.8"));
    const auto target = programs.getChildFile ("Sorna.exe").getFullPathName();
    const auto link = sandbox.desktop().getChildFile ("Sorna.lnk");
    juce::String errors;

    EXPECT_EQ (createShellLink (target, link.getFullPathName(), juce::CharPointer_UTF8 ("Synth\xc3\xa9tiseur spectral"),
                                programs.getFullPathName() + "/", target, errors), ShellLinkResults::ok);
    EXPECT_EQ (errors, "");

    const auto report = readLink (link);
    EXPECT_EQ (report["Local path"], target) << report.text;
    EXPECT_EQ (report["Description"], juce::String (juce::CharPointer_UTF8 ("Synth\xc3\xa9tiseur spectral")));
    EXPECT_EQ (report["Working directory"], programs.getFullPathName() + "/");
    EXPECT_EQ (report["Icon location"], target);
    EXPECT_EQ (report["Relative path"], juce::String (juce::CharPointer_UTF8 ("../My Programs/S\xc3\xb6rna 1.8/Sorna.exe")));
    EXPECT_EQ (link.getParentDirectory().getChildFile (report["Relative path"]).getFullPathName(), target);
}

TEST (ShellLink, TargetBesideTheLinkAndTargetWithoutAFolder)
{
    Sandbox sandbox;
    const auto folder = sandbox.folder ("Programs");
    const auto link = folder.getChildFile ("Sorna.lnk");
    juce::String errors;

    EXPECT_EQ (createShellLink (folder.getChildFile ("Sorna.exe").getFullPathName(), link.getFullPathName(),
                                {}, {}, {}, errors), ShellLinkResults::ok);
    EXPECT_EQ (readLink (link)["Relative path"], "./Sorna.exe");

    // Not a full path: there is no local path to name, only the way from the link.
    EXPECT_EQ (createShellLink ("Sorna.exe", link.getFullPathName(), {}, {}, {}, errors), ShellLinkResults::ok);
    const auto report = readLink (link);
    EXPECT_EQ (report["Relative path"], "Sorna.exe") << report.text;
    EXPECT_FALSE (report.has ("Local path")) << report.text;
    EXPECT_EQ (errors, "");
}

TEST (ShellLink, EmptyOptionalFieldsLeaveALinkWithOnlyTheTarget)
{
    Sandbox sandbox;
    const auto link = sandbox.desktop().getChildFile ("Sorna.lnk");
    juce::String errors;

    EXPECT_EQ (createShellLink (windowsTarget, link.getFullPathName(), {}, {}, {}, errors), ShellLinkResults::ok);
    EXPECT_EQ (errors, "");

    const auto report = readLink (link);
    EXPECT_EQ (report["Local path"], windowsTarget) << report.text;

    for (auto absent : { "Description", "Working directory", "Icon location", "Command line arguments", "Relative path" })
        EXPECT_FALSE (report.has (absent)) << absent << "\n" << report.text;
}

TEST (ShellLink, EmptyTargetOrLinkPathIsAnInvalidArgumentAndWritesNothing)
{
    Sandbox sandbox;
    const auto link = sandbox.desktop().getChildFile ("Sorna.lnk").getFullPathName();
    juce::String errors ("an earlier line\n");

    EXPECT_EQ (createShellLink ({}, link, "Spectral synthesizer", windowsFolder, windowsTarget, errors),
               static_cast<ShellLinkResult> (0x80070057u));
    EXPECT_EQ (createShellLink (windowsTarget, {}, "Spectral synthesizer", windowsFolder, windowsTarget, errors),
               static_cast<ShellLinkResult> (0x80070057u));

    EXPECT_EQ (errors, "an earlier line\n");
    EXPECT_EQ (sandbox.desktop().getNumberOfChildFiles (juce::File::findFilesAndDirectories, "*"), 0);
}

TEST (ShellLink, AFolderThatCannotTakeTheLinkGivesTheSaveFailure)
{
    Sandbox sandbox;
    const auto desktop = sandbox.desktop();
    const auto blocker = desktop.getChildFile ("blocker");
    ASSERT_TRUE (blocker.replaceWithText ("a file where a folder should be"));

    struct Case { juce::File link; ShellLinkResult expected; };
    const Case cases[] = {
        { blocker.getChildFile ("Sorna.lnk"),                                 static_cast<ShellLinkResult> (0x80070003u) },
        { desktop.getChildFile ("missing").getChildFile ("Sorna.lnk"),        static_cast<ShellLinkResult> (0x80070003u) },
        { sandbox.folder ("Desktop/Sorna.lnk"),                               static_cast<ShellLinkResult> (0x80070005u) },
    };

    for (auto& c : cases)
    {
        juce::String errors ("an earlier line\n");
        EXPECT_EQ (createShellLink (windowsTarget, c.link.getFullPathName(), "Spectral synthesizer",
                                    windowsFolder, windowsTarget, errors), c.expected) << c.link.getFullPathName();
        EXPECT_EQ (errors, "an earlier line\nFailed to save shell link.\n");
    }

    EXPECT_EQ (blocker.loadFileAsString(), "a file where a folder should be");
    EXPECT_FALSE (desktop.getChildFile ("missing").exists());
    EXPECT_TRUE (desktop.getChildFile ("Sorna.lnk").isDirectory()) << "a folder in the link's place must survive";
    EXPECT_EQ (desktop.getNumberOfChildFiles (juce::File::findFilesAndDirectories, "*"), 2) << "no temporary file left";
}

TEST (ShellLink, AnExistingLinkOrFileIsReplacedWhole)
{
    Sandbox sandbox;
    const auto link = sandbox.desktop().getChildFile ("Sorna.lnk");
    juce::String errors;

    ASSERT_TRUE (link.replaceWithText (juce::String::repeatedString ("not a link ", 1000)));
    EXPECT_EQ (createShellLink (windowsTarget, link.getFullPathName(), "First description",
                                windowsFolder, windowsTarget, errors), ShellLinkResults::ok);
    EXPECT_EQ (readLink (link)["Description"], "First description");

    EXPECT_EQ (createShellLink ("D:\\Other\\Sorna.exe", link.getFullPathName(), {}, {}, {}, errors), ShellLinkResults::ok);
    const auto report = readLink (link);
    EXPECT_EQ (report["Local path"], "D:\\Other\\Sorna.exe") << report.text;
    EXPECT_FALSE (report.has ("Description")) << report.text;
    EXPECT_FALSE (report.has ("Icon location")) << report.text;

    EXPECT_EQ (errors, "");
    EXPECT_EQ (sandbox.desktop().getNumberOfChildFiles (juce::File::findFilesAndDirectories, "*"), 1) << "no temporary file left";
}

TEST (ShellLink, TextTooLongForTheFormatFailsInsteadOfBeingCutOff)
{
    Sandbox sandbox;
    const auto link = sandbox.desktop().getChildFile ("Sorna.lnk");
    juce::String errors;

    EXPECT_EQ (createShellLink (windowsTarget, link.getFullPathName(), juce::String::repeatedString ("x", 65535),
                                {}, {}, errors), ShellLinkResults::ok);
    EXPECT_EQ (readLink (link)["Description"].length(), 65535);

    EXPECT_EQ (createShellLink (windowsTarget, link.getFullPathName(), juce::String::repeatedString ("x", 65536),
                                {}, {}, errors), ShellLinkResults::invalidArgument);
    EXPECT_EQ (errors, "Could not create shell link (shortcut), The parameter is incorrect.\n");
    EXPECT_EQ (readLink (link)["Description"].length(), 65535) << "the earlier link stays as it was";
}
