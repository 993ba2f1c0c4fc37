// The job where things go wrong: a damaged payload, a full disk, things in the way, unusable
// remembered data and a user who cancels again and again. Whatever happens, every failure is
// reported, nothing left as installed is damaged, and the user's own files survive.
#include <gtest/gtest.h>

#include "product/Product.h"
#include "install/InstallJob.h"
#include "install/InstallProperties.h"
#include "install/PayloadArchive.h"
#include "install/ZipDirectory.h"
#include "install/RegistryRecords.h"
#include "platform/Registry.h"
#include "platform/SpecialFolders.h"
#include "tests/support/JobFixture.h"

#include <csignal>
#include <map>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{
    using juce::File;
    using juce::String;
    using juce::StringArray;

    struct JobReliability : public JobFixture
    {
        String tmp (const String& name) const { return temporaryFolder().getChildFile (name).getFullPathName(); }
        String content (const String& name) const { return contentFolder().getChildFile (name).getFullPathName(); }
        String installed (const String& name) const { return standalone.getChildFile (name).getFullPathName(); }

        String contentLines (const StringArray& which) const
        {
            String lines;

            if (which.contains ("presets"))
                lines << "Failed to move presets from " << tmp ("data/presets") << " to " << content ("presets") << ".\n";
            if (which.contains ("mesh"))
                lines << "Failed to move mesh presets from " << tmp ("data/mesh") << " to " << content ("mesh") << ".\n";
            if (which.contains ("tutorials"))
                lines << "Failed to copy tutorial files from " << tmp ("data/tutorials") << " to " << content ("tutorials") << ".\n";

            return lines;
        }

        // Whether an unpacking that stopped at entry stoppedAt of the installer's payload had
        // made a file entry, or a folder (one ending in "/"): a folder may also come from the
        // files below it, even from the entry it stopped at, whose folders are made first.
        static bool reached (const String& name, int stoppedAt)
        {
            PayloadArchive archive;

            for (int i = 0; i <= stoppedAt && i < archive.getNumEntries(); ++i)
            {
                const auto& entry = archive.getEntry (i)->filename;

                if (name.endsWithChar ('/') ? entry.startsWith (name) && (i < stoppedAt || entry != name)
                                            : i < stoppedAt && entry == name)
                    return true;
            }

            return false;
        }

        static int indexOf (const String& name)
        {
            PayloadArchive archive;

            for (int i = 0; i < archive.getNumEntries(); ++i)
                if (archive.getEntry (i)->filename == name)
                    return i;

            return -1;
        }

        // The copy lines for every content folder that an unpacking stopped at an entry never made.
        String contentLinesAfterStop (int stoppedAt) const
        {
            StringArray missing;

            for (auto folder : { "presets", "mesh", "tutorials" })
                if (! reached ("data/" + String (folder) + "/", stoppedAt))
                    missing.add (folder);

            return contentLines (missing);
        }

        // Every line a job adds when its unpacking stopped at an entry: for the content folders
        // and for each file to install that the unpacking never reached, in the job's order.
        String linesAfterStop (int stoppedAt) const
        {
            auto lines = contentLinesAfterStop (stoppedAt);

            if (! reached ("Sorna.dll", stoppedAt))
                lines << "Failed to copy " << tmp ("Sorna.dll") << " to " << plugins32.getChildFile ("Sorna.dll").getFullPathName() << ".\n";
            if (! reached ("Sorna.vst3", stoppedAt))
                lines << "Failed to copy " << tmp ("Sorna.vst3") << " to " << plugins3.getChildFile ("Sorna.vst3").getFullPathName() << ".\n";
            if (! reached ("Sorna.exe", stoppedAt))
                lines << "Failed to move executable from " << tmp ("Sorna.exe") << " to " << installed ("Sorna.exe") << ".\n";

            for (auto library : { "ipp_srn.dll", "ipp_srn64.dll" })
                if (! reached (library, stoppedAt))
                    lines << "Failed to copy " << tmp (library) << " to " << installed (library) << ".\n";

            if (! reached ("Uninstall.exe", stoppedAt))
                lines << "Failed to move " << tmp ("Uninstall.exe") << " to " << installed ("Uninstall.exe") << ".\n";

            return lines;
        }

        // Files the job's own temporary copies could have left behind.
        StringArray leftoverTemporaries() const
        {
            StringArray found;

            for (const auto& entry : juce::RangedDirectoryIterator (sandbox.home(), true, "*", File::findFiles))
                if (entry.getFile().getFileName().contains ("_temp"))
                    found.add (entry.getFile().getFullPathName());

            return found;
        }
    };

    //==============================================================================
    struct LocalEntry
    {
        size_t dataOffset = 0, compressedSize = 0;
        int method = -1;
    };

    // Where an entry's stored bytes lie in a ZIP image, from the archive's own directory, so
    // that ZIP64 sizes and data descriptors count as the installer reads them.
    LocalEntry findLocalEntry (const juce::MemoryBlock& zip, const String& name)
    {
        const ZipDirectory directory (zip.getData(), zip.getSize());
        const auto* bytes = static_cast<const juce::uint8*> (zip.getData());

        for (const auto& entry : directory.getEntries())
        {
            if (entry.filename != name || entry.headerOffset + 30 > zip.getSize())
                continue;

            const auto* header = bytes + entry.headerOffset;
            LocalEntry e;
            e.method = entry.method;
            e.compressedSize = (size_t) entry.compressedSize;
            e.dataOffset = (size_t) entry.headerOffset + 30 + juce::ByteOrder::littleEndianShort (header + 26)
                                                            + juce::ByteOrder::littleEndianShort (header + 28);
            return e;
        }

        return {};
    }

    juce::MemoryBlock embeddedCopy()
    {
        return { PayloadArchive::embeddedData(), PayloadArchive::embeddedSize() };
    }

    // The first file entry below a folder entry that is stored (method 0) or deflated (8).
    String firstEntryBelow (const juce::MemoryBlock& zip, const String& folder, int method)
    {
        juce::MemoryInputStream in (zip, false);
        juce::ZipFile archive (in);

        for (int i = 0; i < archive.getNumEntries(); ++i)
        {
            const auto* e = archive.getEntry (i);

            if (e->filename.startsWith (folder) && ! e->filename.endsWithChar ('/') && e->uncompressedSize > 1000
                && findLocalEntry (zip, e->filename).method == method)
                return e->filename;
        }

        return {};
    }
}

//==============================================================================
TEST_F (JobReliability, ADamagedDeflatedEntryStopsTheUnpackingAndEveryLaterStepAddsItsLine)
{
    auto zip = embeddedCopy();

    // The executable, unless the product's own payload stores it.
    auto damagedName = String ("Sorna.exe");

    if (findLocalEntry (zip, damagedName).method != 8)
        damagedName = firstEntryBelow (zip, "", 8);

    if (damagedName.isEmpty())
        GTEST_SKIP() << "the payload has no deflated file";

   #if SORNA_DEMO_PAYLOAD
    ASSERT_EQ (damagedName, "Sorna.exe") << "the executable is expected to be deflated";
   #endif
    const auto local = findLocalEntry (zip, damagedName);
    static_cast<char*> (zip.getData())[local.dataOffset + local.compressedSize / 2] ^= 0x20;

    // The job's copies are compared with the intact payload: nothing damaged may pass.
    ASSERT_TRUE (runJob (&zip));

    // Everything after the damaged entry in the archive is missing; in the demo payload that
    // is the dsp libraries, the uninstaller and the content, while the plug-ins come before
    // the executable and are installed.
    const auto stoppedAt = indexOf (damagedName);
    EXPECT_EQ (errorText, "Could not decompress files to temporary directory: Damaged file in the installer: " + damagedName + "\n"
                              + linesAfterStop (stoppedAt) + Product::administratorHint());

    EXPECT_FALSE (temporaryFolder().getChildFile (damagedName).exists());
    EXPECT_FALSE (standalone.getChildFile (damagedName).exists());
    EXPECT_TRUE (temporaryFolder().isDirectory()) << "the temporary folder stays";

    if (reached ("Sorna.dll", stoppedAt))
    {
        EXPECT_TRUE (temporaryFolder().getChildFile ("Sorna.dll").existsAsFile());
        EXPECT_TRUE (payload.matches (plugins32.getChildFile ("Sorna.dll"), "Sorna.dll"));
    }

    EXPECT_TRUE (progress.statuses.contains ("Cleaning up files..."));
    EXPECT_EQ (leftoverTemporaries().joinIntoString ("\n"), String());
    EXPECT_TRUE (savedProperties().existsAsFile());
}

TEST_F (JobReliability, ADamagedStoredEntryIsNamedAndNeverInstalled)
{
    auto zip = embeddedCopy();
    auto damagedName = firstEntryBelow (zip, "data/tutorials/", 0);

    if (damagedName.isEmpty())
        damagedName = firstEntryBelow (zip, "data/", 0);

   #if SORNA_DEMO_PAYLOAD
    ASSERT_TRUE (damagedName.startsWith ("data/tutorials/")) << "no stored tutorial in the payload";
   #endif
    if (damagedName.isEmpty())
        GTEST_SKIP() << "the payload stores no content file";

    const auto local = findLocalEntry (zip, damagedName);
    static_cast<char*> (zip.getData())[local.dataOffset + local.compressedSize / 2] ^= 0x01;

    ASSERT_TRUE (runJob (&zip));

    // Content folders that exist in the temporary folder are copied with what was unpacked
    // (in the demo payload all three, so the unpacking's line is the only one); only the
    // damaged file and those after it are missing.
    EXPECT_EQ (errorText, "Could not decompress files to temporary directory: Damaged file in the installer: "
                              + damagedName + "\n" + linesAfterStop (indexOf (damagedName)) + Product::administratorHint());
    const auto relative = damagedName.fromFirstOccurrenceOf ("data/", false, false);
    EXPECT_FALSE (temporaryFolder().getChildFile (damagedName).exists());
    EXPECT_FALSE (contentFolder().getChildFile (relative).exists());
    EXPECT_TRUE (temporaryFolder().isDirectory());
    EXPECT_EQ (leftoverTemporaries().joinIntoString ("\n"), String());
}

//==============================================================================
namespace
{
    // Runs the job in a child process whose files may not grow past limitBytes, as on a disk
    // that fills up; SIGXFSZ is ignored so that writes fail instead of killing the process.
    // The limit starts either at once or when the job reaches its first status after the
    // unpacking. Returns the child's errorText, or a note on how the child ended; the folder it
    // unpacked into becomes the test's temporaryFolder().
    String runWithFileSizeLimit (JobReliability& test, rlim_t limitBytes, bool fromTheStart)
    {
        int pipeEnds[2];

        if (pipe (pipeEnds) != 0)
            return "<no pipe>";

        const auto child = fork();

        if (child == 0)
        {
            close (pipeEnds[0]);
            std::signal (SIGXFSZ, SIG_IGN);

            auto limit = [limitBytes]
            {
                rlimit r {};
                getrlimit (RLIMIT_FSIZE, &r);
                r.rlim_cur = limitBytes;
                setrlimit (RLIMIT_FSIZE, &r);
            };

            if (fromTheStart)
                limit();
            else
                test.progress.onStatus = [limit] (const String& s) { if (s == "Creating content directory") limit(); };

            InstallJob job (test.options, *test.properties, test.errorText, test.progress);
            const auto ended = job.run();
            const auto report = String (ended ? "ended\n" : "stopped\n") + job.getTemporaryFolder().getFullPathName() + "\n" + test.errorText;
            const auto* utf8 = report.toRawUTF8();
            auto remaining = strlen (utf8);

            for (ssize_t n; remaining > 0 && (n = write (pipeEnds[1], utf8, remaining)) > 0; utf8 += n)
                remaining -= (size_t) n;

            close (pipeEnds[1]);
            _exit (0);
        }

        close (pipeEnds[1]);
        juce::MemoryOutputStream received;
        char buffer[4096];

        for (ssize_t n; (n = read (pipeEnds[0], buffer, sizeof (buffer))) > 0;)
            received.write (buffer, (size_t) n);

        close (pipeEnds[0]);
        int status = 0;
        waitpid (child, &status, 0);

        if (! WIFEXITED (status) || WEXITSTATUS (status) != 0)
            return "<child ended with status " + String (status) + ">";

        const auto report = received.toString();

        if (! report.startsWith ("ended\n"))
            return "<job did not run to its end>";

        const auto rest = report.fromFirstOccurrenceOf ("\n", false, false);
        test.lastTemporaryFolder = File (rest.upToFirstOccurrenceOf ("\n", false, false));
        return rest.fromFirstOccurrenceOf ("\n", false, false);
    }

    void writePreviousProperties (const File& file, const String& notes)
    {
        file.getParentDirectory().createDirectory();
        file.replaceWithText ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n\r\n<SornaProperties InstallDir=\"C:\\Earlier\\\" Notes=\""
                              + notes + "\"/>\r\n");
    }
}

TEST_F (JobReliability, AFullDiskGivesTheFailureLinesLeavesNoCutOffFileAndKeepsTheRememberedChoices)
{
    // A previous install.xml that a new save cannot fit under the limit.
    writePreviousProperties (savedProperties(), String::repeatedString ("earlier choices ", 1000));
    const auto previousBytes = savedProperties().loadFileAsString();
    loadProperties();

    // The documents on another file system, so that the content is copied, not linked.
    const FolderOnAnotherFileSystem elsewhere (sandbox.documents());

    if (! elsewhere.ready())
        GTEST_SKIP() << "no room on /dev/shm";

    // Some presets (3 to 10 kB in the demo payload) fit under the limit and some do not; no
    // plug-in or dsp library does. A product payload with smaller files gets a lower limit.
    juce::int64 limit = 7000;
    {
        PayloadArchive archive;
        std::map<String, juce::int64> largest;

        for (int i = 0; i < archive.getNumEntries(); ++i)
        {
            const auto* e = archive.getEntry (i);
            // A content file counts for its content folder ("presets"), any other by its name.
            const auto key = e->filename.startsWith ("data/") ? e->filename.substring (5).upToFirstOccurrenceOf ("/", false, false)
                                                             : e->filename;
            largest[key] = std::max (largest[key], e->uncompressedSize);
        }

        for (auto key : { "presets", "mesh", "tutorials", "Sorna.dll", "Sorna.vst3", "ipp_srn.dll", "ipp_srn64.dll" })
            limit = std::min (limit, largest[key] - 1);
    }

   #if SORNA_DEMO_PAYLOAD
    ASSERT_EQ (limit, 7000);
   #endif
    if (limit < 2000)
        GTEST_SKIP() << "the payload's files are too small to fill a disk with (limit " << limit << " bytes)";

    const auto lines = runWithFileSizeLimit (*this, (rlim_t) limit, false);
    ASSERT_FALSE (lines.startsWith ("<")) << lines;

    EXPECT_TRUE (lines.startsWith (contentLines ({ "presets", "mesh", "tutorials" })
                                   + "Failed to copy " + tmp ("Sorna.dll") + " to " + plugins32.getChildFile ("Sorna.dll").getFullPathName() + ".\n"
                                   + "Failed to copy " + tmp ("Sorna.vst3") + " to " + plugins3.getChildFile ("Sorna.vst3").getFullPathName() + ".\n"))
        << lines;

    // The executable and uninstaller are moved within one disk, which needs no space.
    EXPECT_FALSE (lines.contains ("Failed to move executable"));
    EXPECT_TRUE (lines.contains ("Failed to copy " + tmp ("ipp_srn.dll") + " to " + installed ("ipp_srn.dll") + ".\n"));
    EXPECT_TRUE (lines.contains ("Failed to copy " + tmp ("ipp_srn64.dll") + " to " + installed ("ipp_srn64.dll") + ".\n"));
    EXPECT_TRUE (lines.contains (Product::administratorHint() + "Failed to write a required properties file: "
                                 + savedProperties().getFullPathName())) << lines;

    EXPECT_EQ (savedProperties().loadFileAsString(), previousBytes);
    EXPECT_EQ (payload.damagedAfterJob (options, contentFolder(), lines).joinIntoString ("\n"), String());
    EXPECT_EQ (leftoverTemporaries().joinIntoString ("\n"), String());
    EXPECT_FALSE (plugins32.getChildFile ("Sorna.dll").exists());
    EXPECT_TRUE (payload.matches (standalone.getChildFile ("Sorna.exe"), "Sorna.exe"));
}

TEST_F (JobReliability, AFullDiskStillGetsTheContentWhereItCanBeLinked)
{
    // The unpacked files lie on the content's file system: the content needs no new space.
    writePreviousProperties (savedProperties(), String::repeatedString ("earlier choices ", 1000));
    const auto previousBytes = savedProperties().loadFileAsString();
    loadProperties();

    const auto lines = runWithFileSizeLimit (*this, 7000, false);
    ASSERT_FALSE (lines.startsWith ("<")) << lines;

    EXPECT_TRUE (lines.startsWith ("Failed to copy " + tmp ("Sorna.dll") + " to " + plugins32.getChildFile ("Sorna.dll").getFullPathName() + ".\n"))
        << lines;
    EXPECT_EQ (payload.differencesBelow ("data/", contentFolder()).joinIntoString ("\n"), String());
    EXPECT_TRUE (lines.contains (Product::administratorHint() + "Failed to write a required properties file: "
                                 + savedProperties().getFullPathName())) << lines;
    EXPECT_EQ (savedProperties().loadFileAsString(), previousBytes);
    EXPECT_EQ (leftoverTemporaries().joinIntoString ("\n"), String());
}

TEST_F (JobReliability, ADiskFullFromTheStartStopsTheUnpackingAndTheJobStillEnds)
{
    writePreviousProperties (savedProperties(), "kept");
    const auto previousBytes = savedProperties().loadFileAsString();
    loadProperties();

    // Small enough that not even the new install.xml fits. The unpacking stops at the first
    // file larger than that: the first plug-in in the demo payload.
    const int limit = 200;
    int stoppedAt = 0;
    PayloadArchive archive;

    while (stoppedAt < archive.getNumEntries() && archive.getEntry (stoppedAt)->uncompressedSize <= limit)
        ++stoppedAt;

    ASSERT_LT (stoppedAt, archive.getNumEntries());
    const auto firstTooLarge = archive.getEntry (stoppedAt)->filename;
   #if SORNA_DEMO_PAYLOAD
    ASSERT_EQ (firstTooLarge, "Sorna.dll");
   #endif

    const auto lines = runWithFileSizeLimit (*this, limit, true);
    ASSERT_FALSE (lines.startsWith ("<")) << lines;

    EXPECT_TRUE (lines.startsWith ("Could not decompress files to temporary directory: Failed to write to target file: "
                                   + tmp (firstTooLarge) + "\n" + contentLinesAfterStop (stoppedAt)))
        << lines;

    if (! reached ("Sorna.exe", stoppedAt))
    {
        EXPECT_TRUE (lines.contains ("Failed to move executable from " + tmp ("Sorna.exe") + " to " + installed ("Sorna.exe") + ".\n"));
    }

    EXPECT_TRUE (lines.contains (Product::administratorHint())) << lines;
    EXPECT_EQ (savedProperties().loadFileAsString(), previousBytes);
    EXPECT_FALSE (temporaryFolder().getChildFile (firstTooLarge).exists());
    EXPECT_EQ (leftoverTemporaries().joinIntoString ("\n"), String());
}

//==============================================================================
TEST_F (JobReliability, ThingsInTheWayAreReportedAndLeftAsTheyWere)
{
    // A file where the first plug-in folder should be.
    const auto pluginsFile = sandbox.home().getChildFile ("PluginsFile");
    ASSERT_TRUE (pluginsFile.replaceWithText ("the user's own file"));
    options.pluginRows.getReference (0).folder = pluginsFile.getFullPathName();

    // A folder, with the user's file in it, where the VST3 plug-in should go.
    const auto folderInTheWay = plugins3.getChildFile ("Sorna.vst3");
    ASSERT_TRUE (folderInTheWay.getChildFile ("mine.txt").create().wasOk());

    // An empty folder where the uninstaller should go: a folder is never removed.
    ASSERT_TRUE (standalone.getChildFile ("Uninstall.exe").createDirectory().wasOk());

    // A file where the content folder should be.
    ASSERT_TRUE (contentFolder().getParentDirectory().createDirectory().wasOk());
    ASSERT_TRUE (contentFolder().replaceWithText ("not a folder"));
    const auto reason = contentFolder().createDirectory().getErrorMessage();

    ASSERT_TRUE (runJob());

    String expected;
    expected << "Failed to create subfolder in documents directory: " << reason << "\n"
             << contentLines ({ "presets", "mesh", "tutorials" })
             << "Failed to copy " << tmp ("Sorna.dll") << " to " << pluginsFile.getChildFile ("Sorna.dll").getFullPathName() << ".\n"
             << "Failed to copy " << tmp ("Sorna.vst3") << " to " << folderInTheWay.getFullPathName() << ".\n"
             << "Failed to move " << tmp ("Uninstall.exe") << " to " << installed ("Uninstall.exe") << ".\n"
             << Product::administratorHint();
    EXPECT_EQ (errorText, expected);

    EXPECT_EQ (pluginsFile.loadFileAsString(), "the user's own file");
    EXPECT_TRUE (folderInTheWay.getChildFile ("mine.txt").existsAsFile());
    EXPECT_TRUE (standalone.getChildFile ("Uninstall.exe").isDirectory());
    EXPECT_EQ (contentFolder().loadFileAsString(), "not a folder");
    EXPECT_TRUE (payload.matches (standalone.getChildFile ("Sorna.exe"), "Sorna.exe"));
    EXPECT_EQ (leftoverTemporaries().joinIntoString ("\n"), String());
}

TEST_F (JobReliability, AFileWhereAContentSubfolderShouldBeStopsOnlyThatCopy)
{
    ASSERT_TRUE (contentFolder().getChildFile ("mesh").create().wasOk());
    ASSERT_TRUE (contentFolder().getChildFile ("mesh").replaceWithText ("the user's notes"));

    ASSERT_TRUE (runJob());
    EXPECT_EQ (errorText, contentLines ({ "mesh" }) + Product::administratorHint());
    EXPECT_EQ (contentFolder().getChildFile ("mesh").loadFileAsString(), "the user's notes");
    EXPECT_EQ (payload.differencesBelow ("data/tutorials/", contentFolder().getChildFile ("tutorials")).joinIntoString ("\n"), String());
}

TEST_F (JobReliability, AnUncreatableSettingsFileIsTheOneLastLineOfTheReport)
{
    // A file where the folder of install.xml should be; the registry stand-in beside it is fine.
    ASSERT_TRUE (savedProperties().getParentDirectory().getParentDirectory().createDirectory().wasOk());
    ASSERT_TRUE (savedProperties().getParentDirectory().replaceWithText ("the user's file"));
    const auto reason = savedProperties().create().getErrorMessage();
    loadProperties();

    ASSERT_TRUE (runJob());
    EXPECT_EQ (errorText, "Failed to create a required properties file: " + reason);
    EXPECT_EQ (savedProperties().getParentDirectory().loadFileAsString(), "the user's file");
    EXPECT_FALSE (temporaryFolder().exists()) << "the save comes after the clean-up";
}

//==============================================================================
TEST_F (JobReliability, ASuccessfulRunReplacesUnusableRememberedDataCleanly)
{
    // Binary noise as install.xml and a registry stand-in cut off in the middle of a value.
    juce::MemoryBlock noise (64 * 1024);
    juce::Random (3).fillBitsRandomly (noise.getData(), noise.getSize());
    savedProperties().getParentDirectory().createDirectory();
    ASSERT_TRUE (savedProperties().replaceWithData (noise.getData(), noise.getSize()));
    ASSERT_TRUE (Registry::standInFile().replaceWithText ("Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Kest"));
    loadProperties();
    ASSERT_TRUE (properties->isUsingRegistryFallback());

    ASSERT_TRUE (runJob());
    EXPECT_EQ (errorText, "");

    juce::MemoryBlock saved;
    ASSERT_TRUE (savedProperties().loadFileAsData (saved));
    ASSERT_GT (saved.getSize(), 0u);
    EXPECT_EQ (saved[saved.getSize() - 1], 0) << "a saved file ends with a zero byte";

    InstallProperties reloaded (SpecialFolders::applicationData());
    reloaded.loadProperties();
    EXPECT_FALSE (reloaded.isUsingRegistryFallback());
    EXPECT_EQ (reloaded.getRootElement()->getTagName(), "SornaProperties");
    EXPECT_EQ (reloaded.getSetting ("InstallDir", {}, {}), standalone.getFullPathName() + File::getSeparatorString());
    EXPECT_EQ (reloaded.getSetting ("FormatC", {}, {}), "vst3_32");
    EXPECT_EQ (Registry::getValue (RegistryRecords::uninstallKeyPath() + "DisplayName"), "Sorna 1.8");
    EXPECT_EQ (leftoverTemporaries().joinIntoString ("\n"), String());
}

//==============================================================================
TEST_F (JobReliability, ACancelStormEndsInTheStateOfACleanRun)
{
    const auto seed = juce::Time::currentTimeMillis();
    SCOPED_TRACE ("seed " + String (seed));
    juce::Random random (seed);

    for (int run = 0; run < 10; ++run)
    {
        progress = {};
        progress.stopAtPoint = 1 + random.nextInt (4);
        options.createDesktopShortcut = random.nextBool();
        ASSERT_FALSE (runJob()) << "run " << run;
        ASSERT_EQ (progress.pointsSeen, progress.stopAtPoint);
        ASSERT_FALSE (savedProperties().exists()) << "a stopped run saved the choices";
    }

    EXPECT_EQ (errorText, "") << "a stopped run of a clean installation reported failures";

    progress = {};
    options.createDesktopShortcut = true;
    ASSERT_TRUE (runJob());
    EXPECT_EQ (errorText, "");

    EXPECT_FALSE (temporaryFolder().exists());
    EXPECT_EQ (payload.differencesBelow ("data/", contentFolder()).joinIntoString ("\n"), String());
    EXPECT_TRUE (payload.matches (plugins32.getChildFile ("Sorna.dll"), "Sorna.dll"));
    EXPECT_TRUE (payload.matches (plugins3.getChildFile ("Sorna.vst3"), "Sorna.vst3"));

    for (auto name : { "Sorna.exe", "ipp_srn.dll", "ipp_srn64.dll", "Uninstall.exe" })
        EXPECT_TRUE (payload.matches (standalone.getChildFile (name), name)) << name;

    EXPECT_EQ (standalone.getNumberOfChildFiles (File::findFilesAndDirectories), 4);
    EXPECT_TRUE (sandbox.desktop().getChildFile ("Sorna.lnk").existsAsFile());
    EXPECT_EQ (leftoverTemporaries().joinIntoString ("\n"), String());

    InstallProperties reloaded (SpecialFolders::applicationData());
    reloaded.loadProperties();
    ASSERT_FALSE (reloaded.isUsingRegistryFallback());
    const auto* root = reloaded.getRootElement();
    EXPECT_EQ (root->getNumAttributes(), 7);
    EXPECT_EQ (root->getStringAttribute ("InstalledVersion"), "1.8");
    EXPECT_EQ (root->getStringAttribute ("PluginInstallDir3"), plugins3.getFullPathName() + File::getSeparatorString());
}
