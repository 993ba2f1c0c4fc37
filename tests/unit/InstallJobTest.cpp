#include <gtest/gtest.h>

#include "product/Product.h"
#include "install/InstallJob.h"
#include "install/InstallProperties.h"
#include "install/RegistryRecords.h"
#include "platform/Registry.h"
#include "platform/SpecialFolders.h"
#include "tests/support/JobFixture.h"

#include <sys/stat.h>

namespace
{
    using juce::File;
    using juce::String;

    const String sep = File::getSeparatorString();

    using InstallJobTest = JobFixture;

    int modeOf (const File& file)
    {
        struct stat info {};
        return ::lstat (file.getFullPathName().toRawUTF8(), &info) == 0 ? (int) (info.st_mode & 07777) : -1;
    }
}

TEST_F (InstallJobTest, CleanRunInstallsEverythingAndLeavesNoTrace)
{
    ASSERT_TRUE (runJob());
    EXPECT_EQ (errorText, "");

   #if SORNA_DEMO_PAYLOAD
    EXPECT_EQ (payload.countFilesBelow ("data/presets/"), 275);
   #endif
    EXPECT_EQ (contentFolder().getChildFile ("presets").findChildFiles (File::findFiles, true).size(),
               payload.countFilesBelow ("data/presets/"));
    EXPECT_EQ (payload.differencesBelow ("data/presets/", contentFolder().getChildFile ("presets")).joinIntoString ("\n"), String());
    EXPECT_EQ (payload.differencesBelow ("data/mesh/", contentFolder().getChildFile ("mesh")).joinIntoString ("\n"), String());
    EXPECT_EQ (payload.differencesBelow ("data/tutorials/", contentFolder().getChildFile ("tutorials")).joinIntoString ("\n"), String());
   #if SORNA_DEMO_PAYLOAD
    EXPECT_TRUE (contentFolder().getChildFile ("mesh/ir/Instrument").isDirectory());
   #endif
    EXPECT_EQ (payload.missingFoldersBelow ("data/", contentFolder()).joinIntoString ("\n"), String());

    EXPECT_TRUE (payload.matches (plugins32.getChildFile ("Sorna.dll"), "Sorna.dll"));
    EXPECT_TRUE (payload.matches (plugins3.getChildFile ("Sorna.vst3"), "Sorna.vst3"));
    EXPECT_TRUE (payload.matches (standalone.getChildFile ("Sorna.exe"), "Sorna.exe"));
    EXPECT_TRUE (payload.matches (standalone.getChildFile ("ipp_srn.dll"), "ipp_srn.dll"));
    EXPECT_TRUE (payload.matches (standalone.getChildFile ("ipp_srn64.dll"), "ipp_srn64.dll"));
    EXPECT_TRUE (payload.matches (standalone.getChildFile ("Uninstall.exe"), "Uninstall.exe"));
    EXPECT_EQ (payload.damagedFilesIn (contentFolder(), "data/", errorText).joinIntoString ("\n"), String());

    EXPECT_FALSE (temporaryFolder().exists());
    EXPECT_TRUE (sandbox.desktop().getChildFile ("Sorna.lnk").existsAsFile());

    const auto s = standalone.getFullPathName() + sep;
    EXPECT_EQ (saved ("InstalledVersion"), "1.8");
    EXPECT_EQ (saved ("ContentDir"), contentFolder().getFullPathName() + sep);
    EXPECT_EQ (saved ("InstallDir"), s);
    EXPECT_EQ (saved ("PluginInstallDir"), plugins32.getFullPathName() + sep);
    EXPECT_EQ (saved ("FormatA"), "vst32");
    EXPECT_EQ (saved ("PluginInstallDir2"), "<absent>");
    EXPECT_EQ (saved ("FormatB"), "<absent>");
    EXPECT_EQ (saved ("PluginInstallDir3"), plugins3.getFullPathName() + sep);
    EXPECT_EQ (saved ("FormatC"), "vst3_32");

    const auto key = RegistryRecords::uninstallKeyPath();
    EXPECT_EQ (Registry::getValue (key + "DisplayName"), "Sorna 1.8");
    EXPECT_EQ (Registry::getValue (key + "InstallLocation"), s);
    EXPECT_EQ (Registry::getValue (key + "UninstallString"), "\"" + s + "Uninstall.exe\"");
    EXPECT_EQ (Registry::getValue ("HKEY_CURRENT_USER\\Software\\Classes\\.srn\\"), "SornaPreset");
    EXPECT_EQ (Registry::getValue ("HKEY_CURRENT_USER\\Software\\Classes\\SornaPreset\\shell\\open\\command\\"),
               "\"" + standalone.getChildFile ("Sorna.exe").getFullPathName() + "\" \"%1\"");

    EXPECT_EQ (progress.values.getLast(), 0.99);
    EXPECT_FALSE (progress.values.contains (1.0));
    EXPECT_EQ (progress.statuses.joinIntoString ("|"),
               "Decompressing temporary files...|Creating content directory|Moving presets|"
               "Moving existing user meshes to user directory|Moving tutorial files|Copying plugin|Copying plugin|"
               "Moving executable|Copying dsp library|Copying dsp library (64 bit)|Copying uninstaller|"
               "Associating files|Cleaning up files...");
    EXPECT_EQ (progress.pointsSeen, 4);
}

TEST_F (InstallJobTest, OnlyThirtyTwoBitFormatsLeaveOutTheSixtyFourBitLibrary)
{
    options.pluginRows.getReference (1).format = 1;
    ASSERT_TRUE (runJob());
    EXPECT_EQ (errorText, "");
    EXPECT_TRUE (standalone.getChildFile ("ipp_srn.dll").existsAsFile());
    EXPECT_FALSE (standalone.getChildFile ("ipp_srn64.dll").exists());
    EXPECT_FALSE (progress.statuses.contains ("Copying dsp library (64 bit)"));
}

TEST_F (InstallJobTest, EmptyStandaloneFolderSkipsTheProgramButKeepsItsRecords)
{
    options.standaloneFolder = {};
    options.pluginRows.clearQuick();
    ASSERT_TRUE (runJob());
    EXPECT_EQ (errorText, "");
    EXPECT_EQ (saved ("InstallDir"), sep);
    EXPECT_EQ (Registry::getValue (RegistryRecords::uninstallKeyPath() + "DisplayIcon"), sep + "Sorna.exe");
    EXPECT_EQ (Registry::getValue ("HKEY_CURRENT_USER\\Software\\Classes\\.srn\\"), "");
    EXPECT_FALSE (sandbox.desktop().getChildFile ("Sorna.lnk").exists());
    EXPECT_FALSE (progress.statuses.contains ("Moving executable"));
}

TEST_F (InstallJobTest, OneLetterFoldersAndARowWithoutFormat)
{
    options.standaloneFolder = "D";                                   // relative: the current folder
    sandbox.folder ("D");                                             // created by the screen's checks
    options.pluginRows.clearQuick();
    options.pluginRows.add ({ "E", 1 });                              // "E" + separator: too short, skipped
    options.pluginRows.add ({ plugins32.getFullPathName(), 0 });      // no format: nothing to copy
    ASSERT_TRUE (runJob());

    EXPECT_TRUE (sandbox.home().getChildFile ("D/Sorna.exe").existsAsFile());
    EXPECT_FALSE (sandbox.home().getChildFile ("E").exists());
    EXPECT_EQ (saved ("PluginInstallDir"), "<absent>");
    EXPECT_EQ (saved ("PluginInstallDir2"), plugins32.getFullPathName() + sep);
    EXPECT_EQ (saved ("FormatB"), "");

    const auto copyLine = "Failed to copy " + temporaryFolder().getFullPathName() + " to " + plugins32.getFullPathName() + ".\n";
    EXPECT_TRUE (errorText.startsWith (copyLine)) << errorText;
    EXPECT_TRUE (errorText.endsWith (Product::administratorHint()));
    EXPECT_TRUE (temporaryFolder().isDirectory());
    EXPECT_TRUE (plugins32.isDirectory()) << "the failed copy removed the user's folder";
}

TEST_F (InstallJobTest, StopAtEachPointKeepsWhatWasDoneRemovesWhatItUnpackedAndSavesNothing)
{
    for (int point = 1; point <= 4; ++point)
    {
        SCOPED_TRACE (point);
        Sandbox inner;
        properties = std::make_unique<InstallProperties> (SpecialFolders::applicationData());
        properties->loadProperties();
        progress = {};
        progress.stopAtPoint = point;
        errorText.clear();

        EXPECT_FALSE (runJob());
        EXPECT_EQ (progress.pointsSeen, point);
        EXPECT_EQ (Registry::getValue (RegistryRecords::uninstallKeyPath() + "DisplayName"), "Sorna 1.8");
        EXPECT_FALSE (temporaryFolder().exists()) << "a later run unpacks into a new folder";
        EXPECT_EQ (inner.temp().getNumberOfChildFiles (juce::File::findFilesAndDirectories), 0);
        EXPECT_FALSE (inner.appData().getChildFile ("Kestrune/Sorna/install.xml").exists());
        EXPECT_EQ (inner.documents().getChildFile ("Kestrune/Sorna").isDirectory(), point >= 2);
        EXPECT_EQ (inner.documents().getChildFile ("Kestrune/Sorna/presets").isDirectory(), point >= 3);
        EXPECT_EQ (plugins32.getChildFile ("Sorna.dll").existsAsFile(), point >= 4);
        EXPECT_FALSE (errorText.contains ("administrator"));
        plugins32.getChildFile ("Sorna.dll").deleteFile();
    }
}

TEST_F (InstallJobTest, ARunAfterAStopAddsItsLinesToTheEarlierOnes)
{
    options.pluginRows.getReference (0).format = 0;
    progress.stopAtPoint = 4;
    EXPECT_FALSE (runJob());
    const auto firstRun = errorText;
    ASSERT_TRUE (firstRun.startsWith ("Failed to copy "));

    const auto firstFolder = temporaryFolder().getFullPathName();

    progress = {};
    EXPECT_TRUE (runJob());
    EXPECT_NE (temporaryFolder().getFullPathName(), firstFolder);
    EXPECT_TRUE (errorText.startsWith (firstRun + firstRun.replace (firstFolder, temporaryFolder().getFullPathName()))) << errorText;
    EXPECT_TRUE (errorText.endsWith (Product::administratorHint()));
    EXPECT_TRUE (savedProperties().existsAsFile());
}

TEST_F (InstallJobTest, FailedUnpackingStillRunsEveryStepAndEachAddsItsLine)
{
    const String inTheWay ("a file where the temporary folder should be");
    temporaryParent = sandbox.temp().getChildFile ("not a folder");
    temporaryParent.replaceWithText (inTheWay);
    ASSERT_TRUE (runJob());

    const juce::StringArray lines = juce::StringArray::fromLines (errorText);
    ASSERT_GE (lines.size(), 8) << errorText;
    EXPECT_TRUE (lines[0].startsWith ("Could not decompress files to temporary directory: ")) << lines[0];
    EXPECT_TRUE (lines[1].startsWith ("Failed to move presets from ")) << lines[1];
    EXPECT_TRUE (lines[2].startsWith ("Failed to move mesh presets from ")) << lines[2];
    EXPECT_TRUE (lines[3].startsWith ("Failed to copy tutorial files from ")) << lines[3];
    EXPECT_TRUE (lines[4].startsWith ("Failed to copy ")) << lines[4];
    EXPECT_TRUE (lines[5].startsWith ("Failed to copy ")) << lines[5];
    EXPECT_EQ (lines[6], "Failed to move executable from " + temporaryFolder().getChildFile ("Sorna.exe").getFullPathName()
                          + " to " + standalone.getChildFile ("Sorna.exe").getFullPathName() + ".");
    EXPECT_TRUE (errorText.contains ("Failed to move " + temporaryFolder().getChildFile ("Uninstall.exe").getFullPathName()));
    EXPECT_TRUE (errorText.endsWith (Product::administratorHint()));
    EXPECT_TRUE (temporaryFolder().isAChildOf (temporaryParent));
    EXPECT_EQ (temporaryParent.loadFileAsString(), inTheWay);
    EXPECT_EQ (saved ("InstalledVersion"), "1.8");
}

TEST_F (InstallJobTest, TwoRowsWithTheSameFormatBothGetThePlugin)
{
    options.pluginRows.getReference (2).format = 1;
    ASSERT_TRUE (runJob());
    EXPECT_TRUE (payload.matches (plugins32.getChildFile ("Sorna.dll"), "Sorna.dll"));
    EXPECT_TRUE (payload.matches (plugins3.getChildFile ("Sorna.dll"), "Sorna.dll"));
}

// Whichever way a file arrives (moved, hard linked, or copied as on Windows and across disks),
// it carries the time stamp of its payload entry, as the system's own copy would keep it.
TEST_F (InstallJobTest, EveryInstalledFileKeepsItsEntrysTime)
{
    ASSERT_TRUE (runJob());
    EXPECT_EQ (errorText, "");
    ASSERT_TRUE (payload.matches (plugins32.getChildFile ("Sorna.dll"), "Sorna.dll")) << "nothing was copied";
    EXPECT_EQ (payload.misdatedAfterJob (options, contentFolder()).joinIntoString ("\n"), String());

    // The content copied into the documents folder instead of linked.
    const FolderOnAnotherFileSystem elsewhere (sandbox.documents());

    if (! elsewhere.ready())
        GTEST_SKIP() << "no room on /dev/shm";

    errorText.clear();
    ASSERT_TRUE (runJob());
    EXPECT_EQ (errorText, "");
    ASSERT_EQ (payload.differencesBelow ("data/", contentFolder()).joinIntoString ("\n"), String());
    EXPECT_EQ (payload.misdatedAfterJob (options, contentFolder()).joinIntoString ("\n"), String());
}

// A folder or link prepared where a careless installer would unpack is never used: the job
// unpacks into a new folder only its owner can change, and the programs it moves out of it
// stay readable and runnable by every user.
TEST_F (InstallJobTest, UnpacksIntoANewPrivateFolderNeverThroughOnePreparedForIt)
{
    const auto elsewhere = sandbox.folder ("elsewhere");
    elsewhere.getChildFile ("canary").replaceWithText ("canary");
    ASSERT_TRUE (elsewhere.createSymbolicLink (sandbox.temp().getChildFile ("Sorna"), true));

    // A failure keeps the folder for a look; then a clean run removes its own.
    plugins3.deleteRecursively();
    plugins3.replaceWithText ("a file where the VST3 folder should be");
    ASSERT_TRUE (runJob());
    ASSERT_TRUE (errorText.isNotEmpty());
    const auto kept = temporaryFolder();
    EXPECT_TRUE (kept.isAChildOf (sandbox.temp()));
    EXPECT_EQ (modeOf (kept), 0700);
    EXPECT_TRUE (kept.getChildFile ("Sorna.vst3").existsAsFile());

    for (auto program : { "Sorna.exe", "Uninstall.exe" })
        EXPECT_EQ (modeOf (standalone.getChildFile (program)) & 0555, 0555) << program;

    plugins3.deleteFile();
    plugins3.createDirectory();
    errorText.clear();
    ASSERT_TRUE (runJob());
    EXPECT_EQ (errorText, "");
    EXPECT_NE (temporaryFolder(), kept);
    EXPECT_FALSE (temporaryFolder().exists());

    EXPECT_EQ (sandbox.temp().getChildFile ("Sorna").getLinkedTarget(), elsewhere);
    EXPECT_EQ (elsewhere.getNumberOfChildFiles (File::findFilesAndDirectories), 1);
    EXPECT_EQ (elsewhere.getChildFile ("canary").loadFileAsString(), "canary");
}
