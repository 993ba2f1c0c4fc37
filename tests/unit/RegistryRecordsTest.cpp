#include <gtest/gtest.h>
#include "install/RegistryRecords.h"
#include "platform/Registry.h"
#include "tests/support/Sandbox.h"

using juce::File;
using juce::String;
using juce::StringArray;

namespace
{
    const String uninstallKey ("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Sorna1.8\\");

    // The lines of one key in the stand-in's file, from its "[key]" line to the blank line after it.
    StringArray keyLines (const String& key)
    {
        const auto text = Registry::standInFile().loadFileAsString();
        const auto lines = StringArray::fromLines (text);
        StringArray result;

        for (int i = lines.indexOf ("[" + key + "]"); i >= 0 && i < lines.size() && lines[i].isNotEmpty(); ++i)
            result.add (lines[i]);

        return result;
    }

    juce::int64 secondsNow()
    {
        return juce::Time::currentTimeMillis() / 1000;
    }
}

TEST (RegistryRecords, UninstallKeyIsNamedAfterProductAndVersion)
{
    EXPECT_EQ (RegistryRecords::uninstallKeyPath(), uninstallKey);
}

TEST (RegistryRecords, UninstallEntryHasTwelveTextValuesInOrder)
{
    Sandbox sandbox;
    const String folder ("C:\\Program Files (x86)\\Kestrune\\Sorna\\");

    const auto before = secondsNow();
    RegistryRecords::writeUninstallEntry (folder);
    const auto after = secondsNow();

    const auto installDate = Registry::getValue (uninstallKey + "InstallDate");
    ASSERT_TRUE (installDate.containsOnly ("0123456789")) << installDate;
    EXPECT_GE (installDate.getLargeIntValue(), before);
    EXPECT_LE (installDate.getLargeIntValue(), after);

    const StringArray expected {
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Sorna1.8]",
        "\"DisplayName\"=\"Sorna 1.8\"",
        "\"DisplayIcon\"=\"C:\\\\Program Files (x86)\\\\Kestrune\\\\Sorna\\\\Sorna.exe\"",
        "\"DisplayVersion\"=\"1.8\"",
        "\"Contact\"=\"\"",
        "\"EstimatedSize\"=\"15000\"",
        "\"HelpLink\"=\"\"",
        "\"InstallDate\"=\"" + installDate + "\"",
        "\"InstallLocation\"=\"C:\\\\Program Files (x86)\\\\Kestrune\\\\Sorna\\\\\"",
        "\"NoModify\"=\"1\"",
        "\"NoRepair\"=\"1\"",
        "\"Publisher\"=\"Kestrune, Inc.\"",
        "\"UninstallString\"=\"\\\"C:\\\\Program Files (x86)\\\\Kestrune\\\\Sorna\\\\Uninstall.exe\\\"\"",
    };

    EXPECT_EQ (keyLines (uninstallKey.dropLastCharacters (1)).joinIntoString ("\n"), expected.joinIntoString ("\n"));
    EXPECT_EQ (Registry::getValue (uninstallKey + "UninstallString"), "\"" + folder + "Uninstall.exe\"");
    EXPECT_EQ (Registry::getValue (uninstallKey + "DisplayIcon"), folder + "Sorna.exe");
}

TEST (RegistryRecords, EmptyFolderStillGivesAnEntry)
{
    Sandbox sandbox;
    RegistryRecords::writeUninstallEntry ("\\");

    EXPECT_EQ (Registry::getValue (uninstallKey + "DisplayIcon"), "\\Sorna.exe");
    EXPECT_EQ (Registry::getValue (uninstallKey + "InstallLocation"), "\\");
    EXPECT_EQ (Registry::getValue (uninstallKey + "UninstallString"), "\"\\Uninstall.exe\"");
    EXPECT_EQ (keyLines (uninstallKey.dropLastCharacters (1)).size(), 13);
}

TEST (RegistryRecords, InstallingAgainRewritesTheSameKeyAndLeavesOthersAlone)
{
    Sandbox sandbox;
    const String olderKey ("HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Sorna1.7\\");
    ASSERT_TRUE (Registry::setValue (olderKey + "InstallLocation", "C:\\Old\\"));
    ASSERT_TRUE (Registry::setValue (uninstallKey + "InstallDate", "1"));
    ASSERT_TRUE (Registry::setValue (uninstallKey + "Comments", "left by someone else"));

    RegistryRecords::writeUninstallEntry ("C:\\First\\");
    RegistryRecords::writeUninstallEntry ("D:\\Second\\");

    EXPECT_EQ (Registry::getValue (uninstallKey + "InstallLocation"), "D:\\Second\\");
    EXPECT_NE (Registry::getValue (uninstallKey + "InstallDate"), "1");
    EXPECT_EQ (Registry::getValue (uninstallKey + "Comments"), "left by someone else");
    EXPECT_EQ (Registry::getValue (olderKey + "InstallLocation"), "C:\\Old\\");
    EXPECT_EQ (keyLines (uninstallKey.dropLastCharacters (1)).size(), 14);
}

TEST (RegistryRecords, PresetFileTypeOpensWithTheQuotedExecutable)
{
    Sandbox sandbox;
    const auto executable = sandbox.folder ("Program Files/Kestrune/Sorna").getChildFile ("Sorna.exe");
    const auto path = executable.getFullPathName();
    ASSERT_TRUE (path.containsChar (' '));

    EXPECT_TRUE (RegistryRecords::registerPresetFileType (executable));

    const String classes ("HKEY_CURRENT_USER\\Software\\Classes\\");
    EXPECT_EQ (Registry::getValue (classes + ".srn\\"), "SornaPreset");
    EXPECT_EQ (Registry::getValue (classes + "SornaPreset\\"), "Sorna Preset");
    EXPECT_EQ (Registry::getValue (classes + "SornaPreset\\shell\\open\\command\\"), "\"" + path + "\" \"%1\"");
    EXPECT_EQ (Registry::getValue (classes + "SornaPreset\\DefaultIcon\\"), path + ",-101");

    // Written in this order, each as its key's default value.
    const auto text = Registry::standInFile().loadFileAsString();
    const StringArray keys { ".srn", "SornaPreset", "SornaPreset\\shell\\open\\command", "SornaPreset\\DefaultIcon" };
    int previous = -1;

    for (auto& key : keys)
    {
        const auto at = text.indexOf ("[" + classes + key + "]\r\n@=");
        EXPECT_GT (at, previous) << key;
        previous = at;
    }

    // A later installation points the type to its own executable.
    const auto moved = sandbox.folder ("Elsewhere").getChildFile ("Sorna.exe");
    EXPECT_TRUE (RegistryRecords::registerPresetFileType (moved));
    EXPECT_EQ (Registry::getValue (classes + "SornaPreset\\shell\\open\\command\\"),
               "\"" + moved.getFullPathName() + "\" \"%1\"");
    EXPECT_EQ (Registry::getValue (classes + "SornaPreset\\DefaultIcon\\"), moved.getFullPathName() + ",-101");
}

TEST (RegistryRecords, PresetFileTypeReportsAFailedWrite)
{
    Sandbox sandbox;
    Registry::standInFile().getChildFile ("in the way").create();

    EXPECT_FALSE (RegistryRecords::registerPresetFileType (File ("/opt/Kestrune/Sorna/Sorna.exe")));
    EXPECT_EQ (Registry::getValue ("HKEY_CURRENT_USER\\Software\\Classes\\.srn\\", "none"), "none");
}
