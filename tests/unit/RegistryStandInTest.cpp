#include <gtest/gtest.h>
#include "platform/Registry.h"
#include "platform/SpecialFolders.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/Sandbox.h"


using juce::File;
using juce::MemoryBlock;
using juce::String;

namespace
{
    const String sorna ("HKEY_CURRENT_USER\\Software\\Kestrune\\Sorna\\");

    String utf8 (const char* text)
    {
        return String (juce::CharPointer_UTF8 (text));
    }

    MemoryBlock fileBytes (const File& file)
    {
        MemoryBlock data;
        file.loadFileAsData (data);
        return data;
    }

    // The stand-in's file as text, checking that it is UTF-16LE with its byte order mark.
    String storedText()
    {
        const auto data = fileBytes (Registry::standInFile());
        const auto* bytes = static_cast<const juce::uint8*> (data.getData());

        if (data.getSize() < 2 || bytes[0] != 0xff || bytes[1] != 0xfe || data.getSize() % 2 != 0)
            return "<not UTF-16LE with a byte order mark>";

        juce::Array<juce::CharPointer_UTF16::CharType> units;

        for (size_t i = 2; i < data.getSize(); i += 2)
            units.add ((juce::CharPointer_UTF16::CharType) (bytes[i] | (bytes[i + 1] << 8)));

        units.add (0);
        return String (juce::CharPointer_UTF16 (units.getRawDataPointer()));
    }

    void seed (const MemoryBlock& content)
    {
        const auto file = Registry::standInFile();
        file.getParentDirectory().createDirectory();
        ASSERT_TRUE (file.replaceWithData (content.getData(), content.getSize()));
    }

    void seedText (const String& text, bool asUTF16 = false)
    {
        juce::MemoryOutputStream out;
        out.writeText (text, asUTF16, asUTF16, nullptr);
        seed (out.getMemoryBlock());
    }

}

TEST (RegistryStandIn, LivesInTheMakersFolderUnderApplicationData)
{
    Sandbox sandbox;
    EXPECT_EQ (Registry::standInFile(), sandbox.appData().getChildFile ("Kestrune/registry.reg"));
}

TEST (RegistryStandIn, WritesARegistryExportInUTF16WithCRLF)
{
    Sandbox sandbox;
    ASSERT_TRUE (Registry::setValue (sorna + "InstallDir", "C:\\Program Files (x86)\\Kestrune\\Sorna\\"));
    ASSERT_TRUE (Registry::setValue ("HKEY_CURRENT_USER\\Software\\Classes\\.srn\\", "SornaPreset"));
    ASSERT_TRUE (Registry::setValue (sorna + "Say \"hi\"", utf8 ("Zo\xc3\xab")));

    EXPECT_EQ (storedText(),
               "Windows Registry Editor Version 5.00\r\n"
               "\r\n"
               "[HKEY_CURRENT_USER\\Software\\Kestrune\\Sorna]\r\n"
               "\"InstallDir\"=\"C:\\\\Program Files (x86)\\\\Kestrune\\\\Sorna\\\\\"\r\n"
               + utf8 ("\"Say \\\"hi\\\"\"=\"Zo\xc3\xab\"\r\n")
               + "\r\n"
               "[HKEY_CURRENT_USER\\Software\\Classes\\.srn]\r\n"
               "@=\"SornaPreset\"\r\n"
               "\r\n");
}

TEST (RegistryStandIn, TextValuesRoundTrip)
{
    Sandbox sandbox;

    const String values[] = {
        "C:\\Program Files\\Common Files\\VST3\\",
        "\"C:\\quoted path\\Sorna.exe\" \"%1\"",
        "\\\\server\\share\\\\",
        utf8 ("Zo\xc3\xab \xe6\x97\xa5\xe6\x9c\xac \xf0\x9f\x8e\xb9"),
        "",
        "; not a comment ] [HKEY_LOCAL_MACHINE\\x] @=\"y\"",
        "two\r\nlines\nand one\rmore",
        String::repeatedString ("long ", 2000),
    };

    for (int i = 0; i < juce::numElementsInArray (values); ++i)
        ASSERT_TRUE (Registry::setValue (sorna + "Value" + String (i), values[i])) << i;

    for (int i = 0; i < juce::numElementsInArray (values); ++i)
        EXPECT_EQ (Registry::getValue (sorna + "Value" + String (i), "absent"), values[i]) << i;

    // Line breaks cannot stand in a quoted text: such a value is stored as text bytes, in
    // lines as short as regedit writes them.
    const auto lines = juce::StringArray::fromLines (storedText());
    EXPECT_TRUE (lines.contains ("\"Value6\"=hex(1):74,00,77,00,6f,00,0d,00,0a,00,6c,00,69,00,6e,00,65,00,73,00,\\"));

    for (auto& line : lines)
    {
        if (line.startsWith ("\"Value7\""))
            continue;

        EXPECT_LE (line.length(), 80) << line;
    }
}

TEST (RegistryStandIn, NamesKeysAndHivesCompareLikeTheRegistry)
{
    Sandbox sandbox;
    ASSERT_TRUE (Registry::setValue ("HKCU\\Software\\Kestrune\\Sorna\\InstallDir", "first"));
    EXPECT_EQ (Registry::getValue ("HKEY_CURRENT_USER\\SOFTWARE\\kestrune\\SORNA\\installdir"), "first");

    ASSERT_TRUE (Registry::setValue ("hkey_current_user\\software\\kestrune\\sorna\\INSTALLDIR", "second"));
    EXPECT_EQ (Registry::getValue (sorna + "InstallDir"), "second");
    EXPECT_EQ (storedText().indexOf ("first"), -1);
    EXPECT_EQ (storedText().indexOf ("[HKEY_CURRENT_USER\\Software\\Kestrune\\Sorna]"),
               storedText().lastIndexOf ("[HKEY_CURRENT_USER\\Software\\Kestrune\\Sorna]")) << "one key only";

    // A key's default value and a value called "@" are different things.
    ASSERT_TRUE (Registry::setValue (sorna, "default"));
    ASSERT_TRUE (Registry::setValue (sorna + "@", "at"));
    EXPECT_EQ (Registry::getValue (sorna), "default");
    EXPECT_EQ (Registry::getValue (sorna + "@"), "at");

    // Values straight under a hive, and hives the registry does not have.
    ASSERT_TRUE (Registry::setValue ("HKEY_USERS\\Top", "top"));
    EXPECT_EQ (Registry::getValue ("HKU\\Top"), "top");
    EXPECT_FALSE (Registry::setValue ("HKEY_NOWHERE\\Software\\x", "y"));
    EXPECT_FALSE (Registry::setValue ("NoHive", "y"));
    EXPECT_EQ (Registry::getValue ("HKEY_NOWHERE\\Software\\x", "fallback"), "fallback");
}

TEST (RegistryStandIn, ReadsTextsAndNumbersAndGivesTheDefaultForAnythingElse)
{
    Sandbox sandbox;
    seedText ("Windows Registry Editor Version 5.00\r\n"
              "\r\n"
              "[HKEY_CURRENT_USER\\Software\\Kestrune\\Sorna]\r\n"
              "\"Text\"=\"C:\\\\x\\\\\"\r\n"
              "\"Spaced\" = \"around the sign\"   ; and a comment\r\n"
              "\"Fifteen\"=dword:0000000f\r\n"
              "\"Short\"=DWORD:7\r\n"
              "\"AllBits\"=dword:ffffffff\r\n"
              "\"TooLong\"=dword:000000001\r\n"
              "\"NotHex\"=dword:0000000g\r\n"
              "\"Binary\"=hex:01,02,03\r\n"
              "\"Expand\"=hex(2):25,00,00,00\r\n"
              "\"Qword\"=hex(b):01,00,00,00,00,00,00,00\r\n"
              "\"Deleted\"=-\r\n"
              "\"Bare\"=bare words\r\n"
              "\"Unclosed\"=\"no end\r\n"
              "\"Trailing\"=\"text\" junk\r\n"
              "@=\"the default\"\r\n"
              "\r\n"
              "[HKEY_CURRENT_USER\\Software\\Kestrune\\Sorna]\r\n"
              "\"Text\"=\"the later definition\"\r\n"
              "\r\n"
              "[-HKEY_CURRENT_USER\\Software\\Gone]\r\n"
              "\"Ghost\"=\"boo\"\r\n");

    EXPECT_EQ (Registry::getValue (sorna + "Text"), "the later definition");
    EXPECT_EQ (Registry::getValue (sorna + "Spaced"), "around the sign");
    EXPECT_EQ (Registry::getValue (sorna + "Fifteen"), "15");
    EXPECT_EQ (Registry::getValue (sorna + "Short"), "7");
    EXPECT_EQ (Registry::getValue (sorna + "AllBits"), "-1");
    EXPECT_EQ (Registry::getValue (sorna), "the default");

    for (auto name : { "TooLong", "NotHex", "Binary", "Expand", "Qword", "Deleted", "Bare", "Unclosed", "Trailing", "Missing" })
        EXPECT_EQ (Registry::getValue (sorna + name, "fallback"), "fallback") << name;

    EXPECT_EQ (Registry::getValue ("HKEY_CURRENT_USER\\Software\\Gone\\Ghost", "fallback"), "fallback");
    EXPECT_EQ (Registry::getValue ("HKEY_CURRENT_USER\\Software\\Elsewhere\\Text", "fallback"), "fallback");
}

TEST (RegistryStandIn, AWriteKeepsEverythingElseInTheFile)
{
    Sandbox sandbox;
    const juce::StringArray original {
        "Windows Registry Editor Version 5.00",
        "; written by hand",
        "",
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Other]",
        "\"Blob\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,16,\\",
        "  17,18,19",
        "something regedit would complain about",
        "",
        "[HKEY_CURRENT_USER\\Software\\Kestrune\\Sorna]",
        "\"InstallDir\"=\"C:\\\\Old\\\\\"",
        "\"Multi\"=hex(7):41,00,00,00,\\",
        "  00,00",
        "\"Kept\"=dword:00000001",
        "",
        "[-HKEY_CURRENT_USER\\Software\\Gone]",
        "",
    };
    seedText (original.joinIntoString ("\r\n") + "\r\n");

    ASSERT_TRUE (Registry::setValue (sorna + "InstallDir", "C:\\New\\"));
    ASSERT_TRUE (Registry::setValue (sorna + "Multi", "now text"));
    ASSERT_TRUE (Registry::setValue (sorna + "Added", "added"));
    ASSERT_TRUE (Registry::setValue ("HKEY_CURRENT_USER\\Software\\Fresh\\Value", "fresh"));

    auto expected = original;
    expected.set (9, "\"InstallDir\"=\"C:\\\\New\\\\\"");
    expected.set (10, "\"Multi\"=\"now text\"");
    expected.remove (11);
    expected.insert (12, "\"Added\"=\"added\"");
    expected.add ("[HKEY_CURRENT_USER\\Software\\Fresh]");
    expected.add ("\"Value\"=\"fresh\"");
    expected.add ({});

    EXPECT_EQ (storedText(), expected.joinIntoString ("\r\n") + "\r\n");
    EXPECT_EQ (Registry::getValue (sorna + "Kept"), "1");
}

TEST (RegistryStandIn, UnusableFilesReadAsAnEmptyRegistryAndAreReplacedByAWrite)
{
    Sandbox sandbox;
    juce::Array<MemoryBlock> contents;

    auto addText = [&contents] (const String& text, bool asUTF16)
    {
        juce::MemoryOutputStream out;
        out.writeText (text, asUTF16, asUTF16, nullptr);
        contents.add (out.getMemoryBlock());
    };

    const String valid ("Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Kestrune\\Sorna]\r\n\"InstallDir\"=\"C:\\\\x\\\\\"\r\n");

    addText ({}, false);
    addText ("[HKEY_CURRENT_USER\\Software\\Kestrune\\Sorna]\r\n\"InstallDir\"=\"C:\\\\x\\\\\"\r\n", false);
    addText ("Windows Registry Editor Version 4.00\r\n" + valid.fromFirstOccurrenceOf ("\r\n", false, false), false);

    // A zero byte makes it binary, whatever else it holds.
    MemoryBlock withZero (valid.toRawUTF8(), valid.getNumBytesAsUTF8());
    withZero.insert ("\0", 1, 38);
    contents.add (withZero);

    // UTF-16 without its byte order mark is not text we can tell from noise.
    {
        juce::MemoryOutputStream out;
        out.writeText (valid, true, false, nullptr);
        contents.add (out.getMemoryBlock());
    }

    juce::Random random (11);

    for (int i = 0; i < 20; ++i)
    {
        MemoryBlock noise ((size_t) random.nextInt ({ 1, 20000 }));
        random.fillBitsRandomly (noise.getData(), noise.getSize());
        contents.add (noise);
    }

    // Too large to be read at all.
    {
        MemoryBlock huge (40 * 1024 * 1024, false);
        huge.fillWith ((juce::uint8) ' ');
        huge.copyFrom (valid.toRawUTF8(), 0, valid.getNumBytesAsUTF8());
        contents.add (huge);
    }

    for (auto& content : contents)
    {
        seed (content);
        EXPECT_EQ (Registry::getValue (sorna + "InstallDir", "fallback"), "fallback") << content.toString().substring (0, 80);

        ASSERT_TRUE (Registry::setValue (sorna + "Written", "yes"));
        EXPECT_EQ (Registry::getValue (sorna + "Written"), "yes");
        EXPECT_EQ (Registry::getValue (sorna + "InstallDir", "fallback"), "fallback");
        EXPECT_TRUE (storedText().startsWith ("Windows Registry Editor Version 5.00\r\n"));
    }
}

TEST (RegistryStandIn, DamagedButRecognisableFilesKeepWhatCanBeRead)
{
    Sandbox sandbox;
    ASSERT_TRUE (Registry::setValue (sorna + "InstallDir", utf8 ("C:\\Zo\xc3\xab\\")));
    ASSERT_TRUE (Registry::setValue (sorna + "PluginInstallDir", "D:\\VST\\"));
    const auto whole = fileBytes (Registry::standInFile());
    const auto text = storedText();
    const auto closingQuote = text.indexOf ("\"\r\n\"PluginInstallDir\"");
    ASSERT_GT (closingQuote, 0);
    const auto complete = (size_t) (2 + 2 * (closingQuote + 1));

    // Every cut of the file, odd byte counts included: what was complete before the cut reads.
    for (size_t length = 0; length <= whole.getSize(); ++length)
    {
        seed (MemoryBlock (whole.getData(), length));
        const auto installDir = Registry::getValue (sorna + "InstallDir", "fallback");

        EXPECT_EQ (installDir, length >= complete ? utf8 ("C:\\Zo\xc3\xab\\") : String ("fallback")) << length;
    }

    // Read as the other regedit files are: UTF-8 with or without its mark, Windows-1252.
    seedText (utf8 ("\xef\xbb\xbfWindows Registry Editor Version 5.00\r\n[HKEY_CURRENT_USER\\Software\\Kestrune\\Sorna]\r\n\"A\"=\"\xc3\xab\"\r\n"));
    EXPECT_EQ (Registry::getValue (sorna + "A"), utf8 ("\xc3\xab"));
    const char* const windows1252 = "REGEDIT4\n[HKEY_CURRENT_USER\\Software\\Kestrune\\Sorna]\n\"A\"=\"\xeb\"\n";
    seed (MemoryBlock (windows1252, strlen (windows1252)));
    EXPECT_EQ (Registry::getValue (sorna + "A"), utf8 ("\xc3\xab"));

    // Lone halves of surrogate pairs do not stop the rest from being read.
    seedText ("Windows Registry Editor Version 5.00\r\n[HKEY_CURRENT_USER\\Software\\Kestrune\\Sorna]\r\n\"A\"=\"x\"\r\n", true);
    auto data = fileBytes (Registry::standInFile());
    data.append ("\x00\xd8\x41\x00\x00\xdc\r\x00\n\x00", 10);
    seed (data);
    EXPECT_EQ (Registry::getValue (sorna + "A"), "x");
    ASSERT_TRUE (Registry::setValue (sorna + "B", "y"));
    EXPECT_EQ (Registry::getValue (sorna + "A"), "x");
    EXPECT_EQ (Registry::getValue (sorna + "B"), "y");
}

// A reader slower than linear would run into the test's time limit rather than fail here: a
// test never measures the clock, which a loaded machine or a sanitizer build slows down.
TEST (RegistryStandIn, LargeFilesWithinBoundsAreReadAndWritten)
{
    Sandbox sandbox;
    juce::MemoryOutputStream out;
    out << "Windows Registry Editor Version 5.00\r\n[HKEY_CURRENT_USER\\Software\\Kestrune\\Sorna]\r\n"
        << "\"InstallDir\"=\"C:\\\\x\\\\\"" << String::repeatedString (" ", 8 * 1024 * 1024) << "\r\n"
        << "\"Blob\"=hex:" << String::repeatedString ("00,\\\r\n", 300000) << "00\r\n";

    for (int i = 0; i < 30000; ++i)
        out << "\"Extra" << i << "\"=\"value " << i << "\"\r\n";

    seed (out.getMemoryBlock());

    EXPECT_EQ (Registry::getValue (sorna + "InstallDir"), "C:\\x\\");
    EXPECT_EQ (Registry::getValue (sorna + "Extra29999"), "value 29999");
    ASSERT_TRUE (Registry::setValue (sorna + "Extra15000", "changed"));
    EXPECT_EQ (Registry::getValue (sorna + "Extra15000"), "changed");
    EXPECT_EQ (Registry::getValue (sorna + "Extra15001"), "value 15001");
}

TEST (RegistryStandIn, AFailedWriteLeavesThePreviousFile)
{
    Sandbox sandbox;
    ASSERT_TRUE (Registry::setValue (sorna + "InstallDir", "C:\\Old\\"));
    const auto before = fileBytes (Registry::standInFile());

    {
        const FileSizeLimit limit (16 * 1024);
        EXPECT_FALSE (Registry::setValue (sorna + "Pad", String::repeatedString ("x", 64 * 1024)));
    }

    EXPECT_EQ (fileBytes (Registry::standInFile()), before);
    EXPECT_EQ (Registry::standInFile().getParentDirectory().getNumberOfChildFiles (File::findFilesAndDirectories), 1);
    EXPECT_EQ (Registry::getValue (sorna + "InstallDir"), "C:\\Old\\");
}

TEST (RegistryStandIn, SomethingInTheWayMakesWritesFail)
{
    Sandbox sandbox;
    Registry::standInFile().getChildFile ("inside").create();
    EXPECT_FALSE (Registry::setValue (sorna + "InstallDir", "C:\\x\\"));
    EXPECT_EQ (Registry::getValue (sorna + "InstallDir", "fallback"), "fallback");
    EXPECT_TRUE (Registry::standInFile().getChildFile ("inside").existsAsFile());

    Sandbox another;
    ASSERT_TRUE (another.appData().getChildFile ("Kestrune").replaceWithText ("a file, not a folder"));
    EXPECT_FALSE (Registry::setValue (sorna + "InstallDir", "C:\\x\\"));
}
