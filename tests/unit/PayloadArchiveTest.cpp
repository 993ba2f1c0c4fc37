#include <gtest/gtest.h>
#include "install/PayloadArchive.h"
#include "tests/support/Sandbox.h"

#include <zlib.h>

using namespace juce;

namespace
{
    struct TestEntry
    {
        String name;
        MemoryBlock data;
        int level = 6;   // 0 stores
    };

    MemoryBlock text (const String& s)
    {
        return { s.toRawUTF8(), s.getNumBytesAsUTF8() };
    }

    MemoryBlock noise (size_t size, int64 seed)
    {
        MemoryBlock block (size);
        Random (seed).fillBitsRandomly (block.getData(), size);
        return block;
    }

    MemoryBlock makeZip (const std::vector<TestEntry>& entries)
    {
        ZipFile::Builder builder;

        for (auto& e : entries)
            builder.addEntry (new MemoryInputStream (e.data, false), e.level, e.name, Time (2020, 2, 3, 4, 5, 0, 0, true));

        MemoryBlock zip;
        MemoryOutputStream out (zip, false);
        builder.writeToStream (out, nullptr);
        out.flush();
        return zip;
    }

    // Where an entry's stored bytes begin (the Builder writes no extra field).
    size_t dataOffset (const MemoryBlock& zip, const String& name)
    {
        auto* bytes = static_cast<const char*> (zip.getData());
        auto utf8 = name.toStdString();

        for (size_t pos = 0; pos + 30 + utf8.size() <= zip.getSize(); ++pos)
            if (ByteOrder::littleEndianInt (bytes + pos) == 0x04034b50
                 && std::string (bytes + pos + 30, utf8.size()) == utf8)
                return pos + 30 + utf8.size();

        ADD_FAILURE() << "no local header for " << name;
        return 0;
    }

    Array<File> below (const File& folder, int what)
    {
        return folder.findChildFiles (what, true, "*", File::FollowSymlinks::no);
    }

    MemoryBlock entryBytes (ZipFile& zip, int index)
    {
        std::unique_ptr<InputStream> in (zip.createStreamForEntry (index));
        MemoryBlock block;
        in->readIntoMemoryBlock (block);
        return block;
    }

    bool hasLeftoverTemporaries (const File& folder)
    {
        for (auto& f : below (folder, File::findFiles))
            if (f.getFileName().contains ("_temp"))
                return true;

        return false;
    }
}

//==============================================================================
TEST (PayloadArchive, EmbeddedPayloadIsLinkedInAndReadInPlace)
{
    PayloadArchive archive;

    ASSERT_GT (PayloadArchive::embeddedSize(), 22u);
    EXPECT_EQ (static_cast<const uint8*> (PayloadArchive::embeddedData())[0], 'P');
    ASSERT_GT (archive.getNumEntries(), 0);

    // Every entry's checksum comes from the archive: a non-empty file never has a zero
    // CRC in practice, and folders always have one.
    for (int i = 0; i < archive.getNumEntries(); ++i)
    {
        auto* entry = archive.getEntry (i);

        if (entry->filename.endsWithChar ('/'))
        {
            EXPECT_EQ (archive.getEntryChecksum (i), 0u) << entry->filename;
        }
        else if (entry->uncompressedSize > 0)
        {
            EXPECT_NE (archive.getEntryChecksum (i), 0u) << entry->filename;
        }
    }
}

TEST (PayloadArchive, EmbeddedDemoHasTheProductsEntryLayout)
{
   #if ! SORNA_DEMO_PAYLOAD
    GTEST_SKIP() << "built with the product's own payload";
   #endif
    PayloadArchive archive;

    int folders = 0, presets = 0, meshes = 0, tutorialXml = 0, tutorialOgg = 0;
    int64 unpacked = 0;
    StringArray names;

    for (int i = 0; i < archive.getNumEntries(); ++i)
    {
        auto* e = archive.getEntry (i);
        names.add (e->filename);
        unpacked += e->uncompressedSize;

        if (e->filename.endsWithChar ('/'))
        {
            ++folders;
            EXPECT_EQ (e->uncompressedSize, 0) << e->filename;
            continue;
        }

        if (e->filename.startsWith ("data/presets/"))
        {
            ++presets;
            EXPECT_TRUE (e->filename.endsWith (".srn")) << e->filename;
            EXPECT_FALSE (e->filename.fromFirstOccurrenceOf ("data/presets/", false, false).containsChar ('/'));
        }

        meshes += e->filename.startsWith ("data/mesh/") ? 1 : 0;
        tutorialXml += e->filename.startsWith ("data/tutorials/") && e->filename.endsWith (".xml") ? 1 : 0;
        tutorialOgg += e->filename.startsWith ("data/tutorials/") && e->filename.endsWith (".ogg") ? 1 : 0;
    }

    EXPECT_EQ (archive.getNumEntries(), 408);
    EXPECT_EQ (folders, 27);
    EXPECT_EQ (archive.getNumEntries() - folders, 381);
    EXPECT_EQ (presets, 275);
    EXPECT_EQ (meshes, 89);
    EXPECT_EQ (tutorialXml, 4);
    EXPECT_EQ (tutorialOgg, 5);
    EXPECT_NEAR ((double) unpacked, 41169814.0, 41169814.0 * 0.1);
    // The demo carries this build's own programs, which compress less than their placeholders.
    EXPECT_NEAR ((double) PayloadArchive::embeddedSize(), 17300000.0, 17300000.0 * 0.1);

    for (auto required : { "Sorna.dll", "Sorna64.dll", "Sorna.vst3", "Sorna64.vst3", "Sorna.exe", "ipp_srn.dll",
                           "ipp_srn64.dll", "Uninstall.exe", "data/", "data/presets/", "data/mesh/",
                           "data/tutorials/", "data/mesh/ir/Instrument/", "data/mesh/f3d/Sweep 1.f3d",
                           "data/tutorials/1. Intro Tutorial.xml" })
        EXPECT_TRUE (names.contains (required)) << required;
}

//==============================================================================
TEST (PayloadArchive, UnpackingGivesEveryEntryWithItsBytesAndTimeAndASecondRunReplacesThem)
{
    Sandbox sandbox;
    auto target = sandbox.folder ("tmp/Sorna");
    PayloadArchive archive;

    // Archives from other tools may leave folder entries out: every folder a name implies counts.
    int fileEntries = 0, folderEntries = 0;
    StringArray folders;

    for (int i = 0; i < archive.getNumEntries(); ++i)
    {
        auto name = archive.getEntry (i)->filename;
        ++(name.endsWithChar ('/') ? folderEntries : fileEntries);

        while (name.containsChar ('/'))
        {
            name = name.upToLastOccurrenceOf ("/", false, false);
            folders.addIfNotAlreadyThere (name);
        }
    }

    ASSERT_TRUE (archive.unpackTo (target).wasOk());
    EXPECT_EQ (below (target, File::findFiles).size(), fileEntries);
    EXPECT_EQ (below (target, File::findDirectories).size(), folders.size());
   #if SORNA_DEMO_PAYLOAD
    EXPECT_EQ (fileEntries, 381);
    EXPECT_EQ (folderEntries, 27);
    EXPECT_EQ (folders.size(), 27);
    EXPECT_TRUE (target.getChildFile ("data/mesh/ir/Instrument").isDirectory());
   #endif

    // Compared with JUCE's own inflating of each entry, not with our unpacking loop.
    MemoryInputStream in (PayloadArchive::embeddedData(), PayloadArchive::embeddedSize(), false);
    ZipFile reference (in);

    for (int i = 0; i < reference.getNumEntries(); ++i)
    {
        auto* e = reference.getEntry (i);

        if (e->filename.endsWithChar ('/'))
            continue;

        auto file = target.getChildFile (e->filename);
        MemoryBlock written;
        ASSERT_TRUE (file.loadFileAsData (written)) << e->filename;
        ASSERT_TRUE (written == entryBytes (reference, i)) << e->filename;
        EXPECT_EQ (file.getLastModificationTime(), e->fileTime) << e->filename;
    }

    // A second run over the first: changed files are replaced, foreign files stay.
    auto exe = target.getChildFile ("Sorna.exe");
    ASSERT_TRUE (exe.replaceWithText ("left over from an interrupted run"));
    auto foreign = target.getChildFile ("data/presets/My Own.srn");
    ASSERT_TRUE (foreign.replaceWithText ("mine"));

    ASSERT_TRUE (archive.unpackTo (target).wasOk());
    EXPECT_EQ (exe.getSize(), archive.getEntry (reference.getIndexOfFileName ("Sorna.exe"))->uncompressedSize);
    EXPECT_EQ (foreign.loadFileAsString(), "mine");
    EXPECT_FALSE (hasLeftoverTemporaries (target));
}

//==============================================================================
TEST (PayloadArchive, ThingsInTheWayStopTheUnpackingWithTheirPath)
{
    Sandbox sandbox;
    auto zip = makeZip ({ { "first.txt", text ("first") },
                          { "data/", {}, 0 },
                          { "data/inner.txt", text ("inner") },
                          { "tool.exe", text ("tool") },
                          { "last.txt", text ("last") } });

    {
        // A file where a folder belongs.
        auto target = sandbox.folder ("fileInTheWay");
        ASSERT_TRUE (target.getChildFile ("data").replaceWithText ("a file"));

        auto result = PayloadArchive (zip.getData(), zip.getSize()).unpackTo (target);
        EXPECT_EQ (result.getErrorMessage(), "Failed to create target folder: " + target.getChildFile ("data").getFullPathName());
        EXPECT_TRUE (target.getChildFile ("first.txt").existsAsFile());
        EXPECT_FALSE (target.getChildFile ("last.txt").exists());
    }

    {
        // A folder where a file belongs, empty or not.
        for (auto withContent : { false, true })
        {
            auto target = sandbox.folder ("folderInTheWay" + String ((int) withContent));
            auto inTheWay = target.getChildFile ("tool.exe");
            ASSERT_TRUE (inTheWay.createDirectory().wasOk());

            if (withContent)
            {
                ASSERT_TRUE (inTheWay.getChildFile ("keep.txt").replaceWithText ("keep"));
            }

            auto result = PayloadArchive (zip.getData(), zip.getSize()).unpackTo (target);
            EXPECT_EQ (result.getErrorMessage(), "Failed to write to target file: " + inTheWay.getFullPathName());
            EXPECT_TRUE (inTheWay.isDirectory());
            EXPECT_TRUE (target.getChildFile ("data/inner.txt").existsAsFile());
            EXPECT_FALSE (target.getChildFile ("last.txt").exists());
            EXPECT_FALSE (hasLeftoverTemporaries (target));
        }
    }

    {
        // A file where the parent folder of a file entry belongs (no folder entry of its own).
        auto nested = makeZip ({ { "content/presets/a.srn", text ("a") } });
        auto target = sandbox.folder ("parentInTheWay");
        ASSERT_TRUE (target.getChildFile ("content").replaceWithText ("a file"));

        auto result = PayloadArchive (nested.getData(), nested.getSize()).unpackTo (target);
        EXPECT_EQ (result.getErrorMessage(), "Failed to create target folder: " + target.getChildFile ("content/presets").getFullPathName());
    }
}

//==============================================================================
TEST (PayloadArchive, ADamagedEntryStopsTheUnpackingNamesTheEntryAndLeavesNoDamagedFile)
{
    Sandbox sandbox;

    String bigText;
    for (int i = 0; i < 2000; ++i)
        bigText << "line " << i << " of a preset that deflates well\n";

    for (auto stored : { false, true })
    {
        SCOPED_TRACE (stored ? "stored entry" : "deflated entry");
        const String damagedName = "data/Damaged File 1.5.bin";
        auto zip = makeZip ({ { "first.txt", text ("first") },
                              { "data/", {}, 0 },
                              { damagedName, stored ? noise (40000, 7) : text (bigText), stored ? 0 : 6 },
                              { "last.txt", text ("last") } });

        // The intact archive unpacks; this is what the damage test below builds on.
        auto intactTarget = sandbox.folder (stored ? "intactStored" : "intactDeflated");
        ASSERT_TRUE (PayloadArchive (zip.getData(), zip.getSize()).unpackTo (intactTarget).wasOk());

        static_cast<uint8*> (zip.getData())[dataOffset (zip, damagedName) + 200] ^= 0x10;

        auto target = sandbox.folder (stored ? "stored" : "deflated");
        auto damaged = target.getChildFile (damagedName);
        ASSERT_TRUE (damaged.create().wasOk() && damaged.replaceWithText ("from an earlier run"));

        auto result = PayloadArchive (zip.getData(), zip.getSize()).unpackTo (target);

        EXPECT_EQ (result.getErrorMessage(), "Damaged file in the installer: " + damagedName);
        EXPECT_EQ (damaged.loadFileAsString(), "from an earlier run");
        EXPECT_TRUE (target.getChildFile ("first.txt").existsAsFile());
        EXPECT_FALSE (target.getChildFile ("last.txt").exists());
        EXPECT_FALSE (hasLeftoverTemporaries (target));

        damaged.deleteFile();
        EXPECT_TRUE (PayloadArchive (zip.getData(), zip.getSize()).unpackTo (target).failed());
        EXPECT_FALSE (damaged.exists());
    }
}

TEST (PayloadArchive, AnUnreadableArchiveFailsToOpenInsteadOfUnpackingNothing)
{
    Sandbox sandbox;
    auto target = sandbox.folder ("target");
    const String openFailure = "Failed to open the zip file for reading";

    auto garbage = noise (5000, 3);
    EXPECT_EQ (PayloadArchive (garbage.getData(), garbage.getSize()).unpackTo (target).getErrorMessage(), openFailure);
    EXPECT_EQ (PayloadArchive (nullptr, 0).unpackTo (target).getErrorMessage(), openFailure);

    // Cut inside the central directory: the end record is gone.
    auto zip = makeZip ({ { "a.txt", text ("a") }, { "b.txt", text ("b") } });
    EXPECT_EQ (PayloadArchive (zip.getData(), zip.getSize() - 30).unpackTo (target).getErrorMessage(), openFailure);
    EXPECT_EQ (below (target, File::findFilesAndDirectories).size(), 0);

    EXPECT_TRUE (PayloadArchive (zip.getData(), zip.getSize()).unpackTo (target).wasOk());
}

//==============================================================================
TEST (PayloadArchive, HostileNamesAreNeverWrittenOutsideTheTarget)
{
    Sandbox sandbox;
    auto outside = sandbox.folder ("outside");
    auto target = sandbox.folder ("outside/target");

    for (auto hostile : { String ("../escaped.txt"),
                          String ("data/../../escaped.txt"),
                          outside.getChildFile ("absolute.txt").getFullPathName(),
                          String ("C:/drive.txt"),
                          String ("..\\backslash.txt"),
                          String ("data\\..\\..\\backslash2.txt") })
    {
        SCOPED_TRACE (hostile);
        auto zip = makeZip ({ { "fine.txt", text ("fine") }, { hostile, text ("hostile") }, { "after.txt", text ("after") } });

        auto result = PayloadArchive (zip.getData(), zip.getSize()).unpackTo (target);

        EXPECT_EQ (result.getErrorMessage(), "Unsafe file name in the installer: " + hostile);
        EXPECT_TRUE (target.getChildFile ("fine.txt").existsAsFile());
        EXPECT_FALSE (target.getChildFile ("after.txt").exists());

        for (auto& f : below (sandbox.home(), File::findFiles))
            EXPECT_NE (f.loadFileAsString(), "hostile") << f.getFullPathName();

        EXPECT_EQ (below (outside, File::findFiles).size(), 1);    // fine.txt only
        target.getChildFile ("fine.txt").deleteFile();
    }

    {
        // A link planted inside the target must not carry the writing elsewhere.
        auto zip = makeZip ({ { "data/presets/a.srn", text ("a") } });
        auto elsewhere = sandbox.folder ("elsewhere");
        ASSERT_TRUE (elsewhere.createSymbolicLink (target.getChildFile ("data"), true));

        EXPECT_TRUE (PayloadArchive (zip.getData(), zip.getSize()).unpackTo (target).failed());
        EXPECT_EQ (below (elsewhere, File::findFilesAndDirectories).size(), 0);
    }
}

TEST (PayloadArchive, ALeadingDotSlashMeansTheRootAndCannotHideAnUnsafeName)
{
    Sandbox sandbox;
    auto outside = sandbox.folder ("outside");
    auto target = sandbox.folder ("outside/target");

    const std::pair<const char*, const char*> cases[] = { { "./../escaped.txt", "../escaped.txt" },
                                                          { "././data/../../escaped.txt", "data/../../escaped.txt" },
                                                          { ".//absolute.txt", "/absolute.txt" } };

    for (auto [hostile, asRead] : cases)
    {
        SCOPED_TRACE (hostile);
        auto zip = makeZip ({ { "./", {}, 0 }, { "./data/", {}, 0 }, { "./data/a.txt", text ("a") },
                              { hostile, text ("hostile") }, { "./after.txt", text ("after") } });

        PayloadArchive archive (zip.getData(), zip.getSize());
        ASSERT_EQ (archive.getNumEntries(), 4) << "the root folder itself is no entry";
        EXPECT_EQ (archive.getEntry (1)->filename, "data/a.txt");

        auto result = archive.unpackTo (target);
        EXPECT_EQ (result.getErrorMessage(), "Unsafe file name in the installer: " + String (asRead));
        EXPECT_EQ (target.getChildFile ("data/a.txt").loadFileAsString(), "a");
        EXPECT_FALSE (target.getChildFile ("after.txt").exists());
        EXPECT_EQ (below (outside, File::findFiles).size(), 1);    // data/a.txt only
    }
}
