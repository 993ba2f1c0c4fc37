#include <gtest/gtest.h>
#include "install/PayloadArchive.h"
#include "platform/Registry.h"
#include "platform/ShellLink.h"
#include "tests/support/Sandbox.h"
#include "uninstall/ContentList.h"

// What the uninstaller relies on below its own logic: deleting registry records, reading
// shortcuts back, and the content list it carries.
namespace
{
    using juce::String;

    const String uninstallKey ("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\");

    String utf8 (const char* text)  { return String (juce::CharPointer_UTF8 (text)); }
}

TEST (RegistryDelete, AKeyGoesWithItsSubkeysAndEveryDefinitionWhileNeighboursStay)
{
    Sandbox sandbox;

    ASSERT_TRUE (Registry::setValue (uninstallKey + "Sorna1.8\\DisplayName", "Sorna 1.8"));
    ASSERT_TRUE (Registry::setValue (uninstallKey + "Sorna1.8\\Sub\\Deeper\\", "x"));
    ASSERT_TRUE (Registry::setValue (uninstallKey + "Sorna1.80\\DisplayName", "a neighbour with a longer name"));
    ASSERT_TRUE (Registry::setValue (uninstallKey + "Other\\DisplayName", "Other"));

    // A second block of the same key, as a hand-edited or merged file can hold.
    const auto file = Registry::standInFile();
    juce::MemoryBlock bytes;
    file.loadFileAsData (bytes);
    juce::MemoryOutputStream more;
    more.write (bytes.getData(), bytes.getSize());
    more.writeText ("[hklm\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\sorna1.8]\r\n\"Extra\"=\"1\"\r\n\r\n",
                    true, false, nullptr);
    file.replaceWithData (more.getData(), more.getDataSize());
    ASSERT_EQ (Registry::getValue (uninstallKey + "Sorna1.8\\Extra"), "1");

    EXPECT_TRUE (Registry::deleteKey (uninstallKey + "Sorna1.8\\"));
    EXPECT_EQ (Registry::getValue (uninstallKey + "Sorna1.8\\DisplayName", "<gone>"), "<gone>");
    EXPECT_EQ (Registry::getValue (uninstallKey + "Sorna1.8\\Extra", "<gone>"), "<gone>");
    EXPECT_EQ (Registry::getValue (uninstallKey + "Sorna1.8\\Sub\\Deeper\\", "<gone>"), "<gone>");
    EXPECT_EQ (Registry::getValue (uninstallKey + "Sorna1.80\\DisplayName"), "a neighbour with a longer name");
    EXPECT_EQ (Registry::getValue (uninstallKey + "Other\\DisplayName"), "Other");

    // Gone already, or never there: true, and nothing is written.
    const auto written = file.getLastModificationTime();
    juce::Thread::sleep (20);
    EXPECT_TRUE (Registry::deleteKey (uninstallKey + "Sorna1.8"));
    EXPECT_EQ (file.getLastModificationTime(), written);

    // A hive alone is refused.
    EXPECT_FALSE (Registry::deleteKey ("HKEY_CURRENT_USER\\"));
    EXPECT_EQ (Registry::getValue (uninstallKey + "Other\\DisplayName"), "Other");
}

TEST (RegistryDelete, OneValueGoesAndAMissingFileIsNotCreated)
{
    Sandbox sandbox;
    const String classes ("HKEY_CURRENT_USER\\Software\\Classes\\");

    EXPECT_TRUE (Registry::deleteValue (classes + ".srn\\"));
    EXPECT_TRUE (Registry::deleteKey (classes + ".srn\\"));
    EXPECT_FALSE (Registry::standInFile().exists());

    ASSERT_TRUE (Registry::setValue (classes + ".srn\\", "SornaPreset"));
    ASSERT_TRUE (Registry::setValue (classes + ".srn\\Content Type", "text/plain"));

    EXPECT_TRUE (Registry::deleteValue (classes + ".srn\\"));
    EXPECT_EQ (Registry::getValue (classes + ".srn\\", "<gone>"), "<gone>");
    EXPECT_EQ (Registry::getValue (classes + ".srn\\Content Type"), "text/plain");
    EXPECT_TRUE (Registry::deleteValue (classes + ".srn\\Not There"));
    EXPECT_FALSE (Registry::deleteValue ("NOHIVE\\x"));
}

TEST (ShellLinkTarget, ReadsBackWhatIsWrittenAndNothingFromWhatIsNoLink)
{
    Sandbox sandbox;
    String errors;

    const auto wideTarget = sandbox.home().getChildFile (utf8 ("Programmes d\xc3\xa9mo/\xd0\x9f\xd1\x80\xd0\xbe/Sorna.exe")).getFullPathName();
    const auto wideLink = sandbox.desktop().getChildFile ("Wide.lnk");
    ASSERT_EQ (createShellLink (wideTarget, wideLink.getFullPathName(), "d", "w", wideTarget, errors), 0);
    EXPECT_EQ (getShellLinkTarget (wideLink), wideTarget);

    const auto plainTarget = sandbox.home().getChildFile ("Programs/Sorna.exe").getFullPathName();
    const auto plainLink = sandbox.desktop().getChildFile ("Plain.lnk");
    ASSERT_EQ (createShellLink (plainTarget, plainLink.getFullPathName(), {}, {}, {}, errors), 0);
    EXPECT_EQ (getShellLinkTarget (plainLink), plainTarget);

    // A link to a Windows path keeps it as it is.
    const auto windowsLink = sandbox.desktop().getChildFile ("Windows.lnk");
    ASSERT_EQ (createShellLink ("C:\\Program Files (x86)\\Kestrune\\Sorna\\Sorna.exe", windowsLink.getFullPathName(), {}, {}, {}, errors), 0);
    EXPECT_EQ (getShellLinkTarget (windowsLink), "C:\\Program Files (x86)\\Kestrune\\Sorna\\Sorna.exe");

    // A target that is no full path is kept as the way from the link to it.
    const auto relativeLink = sandbox.desktop().getChildFile ("Relative.lnk");
    ASSERT_EQ (createShellLink ("../Programs/Sorna.exe", relativeLink.getFullPathName(), {}, {}, {}, errors), 0);
    EXPECT_EQ (getShellLinkTarget (relativeLink), plainTarget);
    EXPECT_EQ (errors, String());

    EXPECT_EQ (getShellLinkTarget (sandbox.desktop().getChildFile ("Missing.lnk")), String());
    const auto text = sandbox.desktop().getChildFile ("Text.lnk");
    text.replaceWithText ("not a link at all, but long enough to pass for a header of one, or nearly so.......");
    EXPECT_EQ (getShellLinkTarget (text), String());

    // Every cut-short copy of a real link reads as nothing or as the target, never beyond the bytes.
    juce::MemoryBlock whole;
    wideLink.loadFileAsData (whole);
    const auto cut = sandbox.desktop().getChildFile ("Cut.lnk");

    for (size_t size = 0; size < whole.getSize(); ++size)
    {
        cut.replaceWithData (whole.getData(), size);
        const auto target = getShellLinkTarget (cut);
        EXPECT_TRUE (target.isEmpty() || target == wideTarget) << size << ": " << target;
    }
}

TEST (ContentList, KeepsWellFormedSafeLinesOnlyAndTheLinkedListMatchesThePayload)
{
    const auto parsed = ContentList::parse ("0000002a presets/Init.srn\n"
                                            "ffffffff mesh/a b/c.df\r\n"
                                            "DEADBEEF presets/upper-case digits.srn\n"
                                            "1234567 presets/short.srn\n"
                                            "12345678presets/no-space.srn\n"
                                            "12345678 ../outside.srn\n"
                                            "12345678 /absolute.srn\n"
                                            "12345678 presets/./dot.srn\n"
                                            "12345678 presets\\backslash.srn\n"
                                            "12345678 C:/drive.srn\n"
                                            "12345678 presets/\n"
                                            "\n");
    ASSERT_EQ (parsed.size(), 2);
    EXPECT_EQ (parsed[0].checksum, 0x2au);
    EXPECT_EQ (parsed[0].path, "presets/Init.srn");
    EXPECT_EQ (parsed[1].checksum, 0xffffffffu);
    EXPECT_EQ (parsed[1].path, "mesh/a b/c.df");

    // The list linked into the uninstaller names every content file of the installer's
    // payload with the CRC-32 it carries, in path order.
    PayloadArchive payload;
    std::map<String, juce::uint32> expected;

    for (int i = 0; i < payload.getNumEntries(); ++i)
    {
        const auto name = payload.getEntry (i)->filename;

        for (auto* folder : { "data/presets/", "data/mesh/", "data/tutorials/" })
            if (name.startsWith (folder) && ! name.endsWithChar ('/'))
                expected[name.substring (5)] = payload.getEntryChecksum (i);
    }

    const auto embedded = ContentList::embedded();
    ASSERT_GT (expected.size(), 100u);
    ASSERT_EQ ((size_t) embedded.size(), expected.size());

    for (int i = 0; i < embedded.size(); ++i)
    {
        EXPECT_EQ (expected[embedded[i].path], embedded[i].checksum) << embedded[i].path;

        if (i > 0)
        {
            EXPECT_LT (embedded[i - 1].path.compare (embedded[i].path), 0);
        }
    }
}
