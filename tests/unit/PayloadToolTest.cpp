// Runs the build's payload_tool as the build does, and Info-ZIP as an outside judge.
#if defined (SORNA_PAYLOAD_TOOL_PATH)

#include <gtest/gtest.h>
#include "install/PayloadArchive.h"
#include "tests/support/PayloadCheck.h"
#include "tests/support/Processes.h"
#include "tests/support/Sandbox.h"

#include <ctime>

using namespace juce;

namespace
{
    using Run = ProcessRun;

    Run run (const StringArray& command) { return runProcess (command); }

    Run tool (const StringArray& args)
    {
        StringArray command (SORNA_PAYLOAD_TOOL_PATH);
        command.addArray (args);
        return run (command);
    }

    // The tool run with these environment variables ("TZ=...") added to the test's.
    Run toolWith (const StringArray& environment, const StringArray& args)
    {
        StringArray command ("env");
        command.addArray (environment);
        command.add (SORNA_PAYLOAD_TOOL_PATH);
        command.addArray (args);
        return run (command);
    }

    // What a reader makes of a file time that the tool zipped: ZIP keeps wall-clock time without
    // a zone, the tool writes it in UTC, and readers take it as their local time.
    Time asRecorded (Time t)
    {
        const auto seconds = (std::time_t) (t.toMilliseconds() / 1000);
        std::tm utc {};
        gmtime_r (&seconds, &utc);
        return { utc.tm_year + 1900, utc.tm_mon, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec,
                 (int) (t.toMilliseconds() % 1000), true };
    }

    const StringArray requiredFiles { "Sorna.dll", "Sorna64.dll", "Sorna.vst3", "Sorna64.vst3", "Sorna.exe",
                                      "ipp_srn.dll", "ipp_srn64.dll", "Uninstall.exe" };

    File writeZip (const File& file, const StringArray& names)
    {
        ZipFile::Builder builder;

        for (auto& name : names)
            builder.addEntry (new MemoryInputStream (name.toRawUTF8(), name.getNumBytesAsUTF8(), true),
                              name.endsWithChar ('/') ? 0 : 6, name, Time (2020, 0, 1, 0, 0, 0, 0, true));

        file.deleteFile();
        FileOutputStream out (file);
        builder.writeToStream (out, nullptr);
        return file;
    }

    StringArray completePayload()
    {
        auto names = requiredFiles;
        names.addArray ({ "data/", "data/presets/", "data/presets/a.srn", "data/mesh/ws/Tube.ws", "data/tutorials/" });
        return names;
    }
}

//==============================================================================
TEST (PayloadTool, DemoIsTheSameOnEveryRunAcceptedByUnzipAndHasTheProductsCompressionMix)
{
    Sandbox sandbox;
    auto first = sandbox.home().getChildFile ("first/Sorna.zip");
    auto second = sandbox.home().getChildFile ("second/Sorna.zip");

    // The build hands the tool its own programs; the installer's payload says which they were.
    StringArray programs;
   #if SORNA_DEMO_PAYLOAD
    const MemoryBlock embedded (PayloadArchive::embeddedData(), PayloadArchive::embeddedSize());
    const PayloadCheck carried (embedded.getData(), embedded.getSize());

    for (auto entry : { "Sorna.exe", "Uninstall.exe" })
    {
        auto program = sandbox.folder ("programs").getChildFile (entry);
        ASSERT_TRUE (program.replaceWithData (carried.entryBytes (entry).getData(), carried.entryBytes (entry).getSize()));
        programs.add (String (entry) + "=" + program.getFullPathName());
    }
   #endif

    auto demo = [&programs] (const File& out)
    {
        StringArray args { "demo", out.getFullPathName() };
        args.addArray (programs);
        return tool (args).exitCode;
    };

    ASSERT_EQ (demo (first), 0);
    ASSERT_EQ (demo (second), 0);

    MemoryBlock a, b;
    ASSERT_TRUE (first.loadFileAsData (a) && second.loadFileAsData (b));
    EXPECT_TRUE (a == b);

   #if SORNA_DEMO_PAYLOAD
    EXPECT_TRUE (a == embedded) << "the installer does not carry the demo payload the tool makes";
   #endif

    auto test = run ({ "unzip", "-t", first.getFullPathName() });
    EXPECT_EQ (test.exitCode, 0) << test.output;
    EXPECT_TRUE (test.output.contains ("No errors detected")) << test.output;

    // Info-ZIP's own reading of every entry's method and of the folders.
    auto details = StringArray::fromLines (run ({ "zipinfo", "-v", first.getFullPathName() }).output);
    int deflated = 0, stored = 0;

    for (auto& line : details)
    {
        deflated += line.contains ("compression method:") && line.contains ("deflated") ? 1 : 0;
        stored += line.contains ("compression method:") && line.contains ("none (stored)") ? 1 : 0;
    }

    EXPECT_EQ (deflated, 310);
    EXPECT_EQ (stored, 98);

    auto listing = StringArray::fromLines (run ({ "zipinfo", "-1", first.getFullPathName() }).output);
    listing.removeEmptyStrings();
    int folders = 0;

    for (auto& name : listing)
        folders += name.endsWithChar ('/') ? 1 : 0;

    EXPECT_EQ (listing.size(), 408);
    EXPECT_EQ (folders, 27);
    EXPECT_EQ (tool ({ "check", first.getFullPathName() }).exitCode, 0);
}

//==============================================================================
TEST (PayloadTool, CheckListsEveryMissingEntryTheInstallerNeeds)
{
    Sandbox sandbox;

    auto complete = writeZip (sandbox.home().getChildFile ("complete.zip"), completePayload());
    auto accepted = tool ({ "check", complete.getFullPathName() });
    EXPECT_EQ (accepted.exitCode, 0) << accepted.output;

    // Folders count as present through the files below them, without entries of their own.
    auto partial = writeZip (sandbox.home().getChildFile ("partial.zip"),
                             { "Sorna.dll", "Sorna.exe", "data/presets/a.srn", "data/mesh", "readme.txt" });
    auto refused = tool ({ "check", partial.getFullPathName() });

    EXPECT_NE (refused.exitCode, 0);

    for (auto missing : { "Sorna64.dll", "Sorna.vst3", "Sorna64.vst3", "ipp_srn.dll", "ipp_srn64.dll",
                          "Uninstall.exe", "data/mesh/", "data/tutorials/" })
        EXPECT_TRUE (refused.output.contains ("missing \"" + String (missing) + "\"")) << missing << "\n" << refused.output;

    for (auto present : { "Sorna.dll", "Sorna.exe", "data/presets/" })
        EXPECT_FALSE (refused.output.contains ("\"" + String (present) + "\"")) << present << "\n" << refused.output;
}

TEST (PayloadTool, CheckRefusesHostileAndClashingNamesWithAClearMessage)
{
    Sandbox sandbox;

    const StringPairArray cases ([]
    {
        StringPairArray c;
        c.set ("../evil.dll", "leaves its folder");
        c.set ("data/presets/../../../evil.dll", "leaves its folder");
        c.set ("/etc/evil.conf", "absolute path");
        c.set ("C:/Windows/evil.dll", "drive letter");
        c.set ("data\\presets\\evil.srn", "backslash");
        c.set (".", "names a folder \".\"");
        c.set ("sorna.exe", "differ only in letter case");
        c.set ("Data/Mesh/odd.ws", "differ only in letter case");
        c.set ("Sorna.dll", "appears twice");
        return c;
    }());

    for (auto& name : cases.getAllKeys())
    {
        SCOPED_TRACE (name);
        auto names = completePayload();
        names.add (name);

        auto zip = writeZip (sandbox.home().getChildFile ("hostile.zip"), names);
        auto refused = tool ({ "check", zip.getFullPathName() });

        EXPECT_NE (refused.exitCode, 0);
        EXPECT_TRUE (refused.output.contains (cases[name])) << refused.output;
        EXPECT_FALSE (refused.output.contains ("missing")) << refused.output;
    }
}

TEST (PayloadTool, CheckRefusesDamagedAndNonZipFiles)
{
    Sandbox sandbox;

    auto zip = writeZip (sandbox.home().getChildFile ("damaged.zip"), completePayload());
    MemoryBlock bytes;
    ASSERT_TRUE (zip.loadFileAsData (bytes));
    static_cast<char*> (bytes.getData())[30 + 9 + 2] ^= 0x01;   // inside the data of "Sorna.dll", the first entry
    ASSERT_TRUE (zip.replaceWithData (bytes.getData(), bytes.getSize()));

    auto damaged = tool ({ "check", zip.getFullPathName() });
    EXPECT_NE (damaged.exitCode, 0);
    EXPECT_TRUE (damaged.output.contains ("\"Sorna.dll\" is damaged")) << damaged.output;

    auto notZip = sandbox.home().getChildFile ("notes.zip");
    ASSERT_TRUE (notZip.replaceWithText ("not an archive"));
    auto refused = tool ({ "check", notZip.getFullPathName() });
    EXPECT_NE (refused.exitCode, 0);
    EXPECT_TRUE (refused.output.contains ("not a ZIP archive")) << refused.output;

    EXPECT_NE (tool ({ "check", sandbox.home().getChildFile ("absent.zip").getFullPathName() }).exitCode, 0);
    EXPECT_NE (tool ({ "unknown" }).exitCode, 0);
}

//==============================================================================
TEST (PayloadTool, ZippedFolderUnpacksToTheSameFilesAndTimesAndIsRepeatable)
{
    Sandbox sandbox;
    auto product = sandbox.folder ("product");

    for (auto& name : requiredFiles)
        ASSERT_TRUE (product.getChildFile (name).replaceWithText ("binary of " + name));

    Random random (11);
    MemoryBlock noise (70000);
    random.fillBitsRandomly (noise.getData(), noise.getSize());
    ASSERT_TRUE (product.getChildFile ("data/tutorials/Intro Demo.ogg").create().wasOk());
    ASSERT_TRUE (product.getChildFile ("data/tutorials/Intro Demo.ogg").replaceWithData (noise.getData(), noise.getSize()));
    ASSERT_TRUE (product.getChildFile ("data/presets/Pad - Warm 1.2.srn").create().wasOk());
    ASSERT_TRUE (product.getChildFile ("data/presets/Pad - Warm 1.2.srn").replaceWithText (String::repeatedString ("<p v=\"0.5\"/>\n", 500)));
    ASSERT_TRUE (product.getChildFile ("data/mesh/ir/Instrument").createDirectory().wasOk());

    const Time stamp (2021, 6, 9, 14, 33, 26, 0, true);
    for (auto& f : product.findChildFiles (File::findFiles, true))
        ASSERT_TRUE (f.setLastModificationTime (stamp));

    auto zip = sandbox.home().getChildFile ("out/Sorna.zip");
    auto again = sandbox.home().getChildFile ("out/Again.zip");
    ASSERT_EQ (tool ({ "zip", product.getFullPathName(), zip.getFullPathName() }).exitCode, 0);
    ASSERT_EQ (tool ({ "zip", product.getFullPathName(), again.getFullPathName() }).exitCode, 0);
    EXPECT_TRUE (zip.hasIdenticalContentTo (again));
    EXPECT_EQ (tool ({ "check", zip.getFullPathName() }).exitCode, 0);
    EXPECT_EQ (run ({ "unzip", "-tq", zip.getFullPathName() }).exitCode, 0);

    MemoryBlock bytes;
    ASSERT_TRUE (zip.loadFileAsData (bytes));
    auto target = sandbox.folder ("unpacked");
    ASSERT_TRUE (PayloadArchive (bytes.getData(), bytes.getSize()).unpackTo (target).wasOk());

    auto originals = product.findChildFiles (File::findFilesAndDirectories, true);
    EXPECT_EQ (target.findChildFiles (File::findFilesAndDirectories, true).size(), originals.size());

    for (auto& original : originals)
    {
        auto copy = target.getChildFile (original.getRelativePathFrom (product));

        if (original.isDirectory())
        {
            EXPECT_TRUE (copy.isDirectory()) << copy.getFullPathName();
            continue;
        }

        EXPECT_TRUE (copy.hasIdenticalContentTo (original)) << copy.getFullPathName();
        EXPECT_EQ (copy.getLastModificationTime(), asRecorded (stamp)) << copy.getFullPathName();
    }
}

TEST (PayloadTool, ZippingAFolderDependsOnlyOnItsFilesAndEveryReaderGetsEachFilesTime)
{
    Sandbox sandbox;
    auto names = completePayload();
    names.addArray ({ "data/presets/B.srn", "data/mesh/ir/Instrument/", "data/tutorials/1. Intro.xml" });

    // Odd seconds and milliseconds (the format keeps two-second steps) and a time before the
    // format's first year, which becomes its earliest.
    auto timeOf = [] (int i) { return i == 3 ? Time (1975, 4, 1, 8, 0, 0, 0, true)
                                             : Time (2021, i % 12, 1 + i, i, 7 * i % 60, 3 + 5 * i % 57, 37 * i % 1000, true); };

    // The same files in two places, made in opposite orders, with different folder times.
    auto makeProduct = [&] (const String& where, bool reversed)
    {
        auto product = sandbox.folder (where);

        for (int n = 0; n < names.size(); ++n)
        {
            const auto i = reversed ? names.size() - 1 - n : n;
            auto f = product.getChildFile (names[i]);

            if (names[i].endsWithChar ('/'))
            {
                EXPECT_TRUE (f.createDirectory().wasOk());
                continue;
            }

            EXPECT_TRUE (f.create().wasOk() && f.replaceWithText (String::repeatedString (names[i] + "\n", 50)));
            EXPECT_TRUE (f.setLastModificationTime (timeOf (i)));
        }

        for (auto& folder : product.findChildFiles (File::findDirectories, true))
            folder.setLastModificationTime (reversed ? Time (2003, 1, 1, 0, 0, 0) : Time::getCurrentTime());

        return product;
    };

    const auto one = makeProduct ("one", false);
    const auto two = makeProduct ("two", true);
    const auto zip = sandbox.home().getChildFile ("one.zip");
    const auto again = sandbox.home().getChildFile ("two.zip");
    ASSERT_EQ (tool ({ "zip", one.getFullPathName(), zip.getFullPathName() }).exitCode, 0);
    ASSERT_EQ (tool ({ "zip", two.getFullPathName(), again.getFullPathName() }).exitCode, 0);
    EXPECT_TRUE (zip.hasIdenticalContentTo (again));

    // Unpacked by the installer's reader and by Info-ZIP: every file carries its own time,
    // at most two seconds earlier.
    MemoryBlock bytes;
    ASSERT_TRUE (zip.loadFileAsData (bytes));
    const auto ours = sandbox.folder ("ours");
    const auto infoZip = sandbox.folder ("infozip");
    ASSERT_TRUE (PayloadArchive (bytes.getData(), bytes.getSize()).unpackTo (ours).wasOk());
    ASSERT_EQ (run ({ "unzip", "-q", zip.getFullPathName(), "-d", infoZip.getFullPathName() }).exitCode, 0);

    for (int i = 0; i < names.size(); ++i)
    {
        if (names[i].endsWithChar ('/'))
            continue;

        const auto expected = i == 3 ? Time (1980, 0, 1, 0, 0, 0, 0, true) : asRecorded (timeOf (i));

        for (auto& unpacked : { ours.getChildFile (names[i]), infoZip.getChildFile (names[i]) })
        {
            const auto early = expected.toMilliseconds() - unpacked.getLastModificationTime().toMilliseconds();
            EXPECT_TRUE (early >= 0 && early < 2000) << unpacked.getFullPathName() << " is " << early << " ms early";
        }
    }
}

//==============================================================================
namespace
{
    MemoryBlock noiseFile (const File& file, size_t size, int64 seed)
    {
        MemoryBlock block (size);
        Random (seed).fillBitsRandomly (block.getData(), size);
        file.getParentDirectory().createDirectory();
        file.replaceWithData (block.getData(), block.getSize());
        return block;
    }

    struct LoadedZip
    {
        explicit LoadedZip (const File& file) : bytes (load (file)) {}

        static MemoryBlock load (const File& file)
        {
            MemoryBlock block;
            file.loadFileAsData (block);
            return block;
        }

        MemoryBlock bytes;
        MemoryInputStream stream { bytes, false };
        ZipFile zip { stream };
        PayloadCheck entries { bytes.getData(), bytes.getSize() };
    };
}

TEST (PayloadTool, DemoTakesTheBuildsProgramsInPlaceOfItsPlaceholdersAndKeepsEverythingElse)
{
    Sandbox sandbox;
    const auto exe = sandbox.home().getChildFile ("built/Sorna.exe");
    const auto uninstaller = sandbox.home().getChildFile ("built/Uninstall.exe");
    // Larger than its placeholder and the room the demo leaves, so another placeholder shrinks.
    const auto exeBytes = noiseFile (exe, 8000000, 1);
    const auto uninstallerBytes = noiseFile (uninstaller, 120000, 2);

    const auto plainZip = sandbox.home().getChildFile ("plain.zip");
    const auto builtZip = sandbox.home().getChildFile ("built.zip");
    ASSERT_EQ (tool ({ "demo", plainZip.getFullPathName() }).exitCode, 0);
    auto made = tool ({ "demo", builtZip.getFullPathName(), "Sorna.exe=" + exe.getFullPathName(),
                        "Uninstall.exe=" + uninstaller.getFullPathName() });
    ASSERT_EQ (made.exitCode, 0) << made.output;

    const LoadedZip plain (plainZip), built (builtZip);
    ASSERT_EQ (built.zip.getNumEntries(), plain.zip.getNumEntries());
    EXPECT_TRUE (built.entries.entryBytes ("Sorna.exe") == exeBytes);
    EXPECT_TRUE (built.entries.entryBytes ("Uninstall.exe") == uninstallerBytes);

    // Same names in the same order, the content byte for byte, and the same total unpacked size:
    // the largest placeholder takes up the difference.
    int64 plainTotal = 0, builtTotal = 0;

    for (int i = 0; i < plain.zip.getNumEntries(); ++i)
    {
        const auto name = plain.zip.getEntry (i)->filename;
        ASSERT_EQ (built.zip.getEntry (i)->filename, name);
        plainTotal += plain.zip.getEntry (i)->uncompressedSize;
        builtTotal += built.zip.getEntry (i)->uncompressedSize;

        if (name.startsWith ("data/"))
        {
            EXPECT_TRUE (built.entries.entryBytes (name) == plain.entries.entryBytes (name)) << name;
        }
    }

    EXPECT_EQ (builtTotal, plainTotal);

    // Only the payload's own program entries can be replaced, and only by a readable file.
    const auto refused = sandbox.home().getChildFile ("refused.zip");
    auto unknown = tool ({ "demo", refused.getFullPathName(), "Sorna.dat=" + exe.getFullPathName() });
    EXPECT_NE (unknown.exitCode, 0);
    EXPECT_TRUE (unknown.output.contains ("no entry \"Sorna.dat\"")) << unknown.output;
    auto absent = tool ({ "demo", refused.getFullPathName(), "Sorna.exe=" + sandbox.home().getChildFile ("absent.exe").getFullPathName() });
    EXPECT_NE (absent.exitCode, 0);
    EXPECT_TRUE (absent.output.contains ("cannot read")) << absent.output;
    EXPECT_NE (tool ({ "demo", refused.getFullPathName(), "Sorna.exe" }).exitCode, 0);
    EXPECT_FALSE (refused.exists());
}

TEST (PayloadTool, ZipAddsTheBuildsUninstallerOnlyToAFolderWithoutItsOwn)
{
    Sandbox sandbox;
    const auto ours = sandbox.home().getChildFile ("built/Uninstall.exe");
    const auto ourBytes = noiseFile (ours, 50000, 3);

    auto product = sandbox.folder ("product");

    for (auto& name : requiredFiles)
    {
        if (name != "Uninstall.exe")
        {
            ASSERT_TRUE (product.getChildFile (name).replaceWithText ("binary of " + name));
        }
    }

    ASSERT_TRUE (product.getChildFile ("data/presets/a.srn").create().wasOk());
    ASSERT_TRUE (product.getChildFile ("data/mesh/ws/Tube.ws").create().wasOk());
    ASSERT_TRUE (product.getChildFile ("data/tutorials/1. Intro.xml").create().wasOk());

    const auto zipped = sandbox.home().getChildFile ("without.zip");
    ASSERT_EQ (tool ({ "zip", product.getFullPathName(), zipped.getFullPathName(), "Uninstall.exe=" + ours.getFullPathName() }).exitCode, 0);
    EXPECT_EQ (tool ({ "check", zipped.getFullPathName() }).exitCode, 0);
    EXPECT_TRUE (LoadedZip (zipped).entries.entryBytes ("Uninstall.exe") == ourBytes);

    // The built uninstaller's own time is only when it was built: it takes the newest time of
    // the folder's files, or SOURCE_DATE_EPOCH when the builder gives one, so that the archive
    // is the same whenever it is made.
    const Time newest (2024, 1, 20, 10, 0, 4, 0, true);
    for (auto& f : product.findChildFiles (File::findFiles, true))
        ASSERT_TRUE (f.setLastModificationTime (Time (2024, 1, 19, 0, 0, 0, 0, true)));
    ASSERT_TRUE (product.getChildFile ("data/mesh/ws/Tube.ws").setLastModificationTime (newest));
    ASSERT_TRUE (ours.setLastModificationTime (Time::getCurrentTime()));
    ASSERT_EQ (tool ({ "zip", product.getFullPathName(), zipped.getFullPathName(), "Uninstall.exe=" + ours.getFullPathName() }).exitCode, 0);
    EXPECT_EQ (LoadedZip (zipped).zip.getEntry ("Uninstall.exe")->fileTime, asRecorded (newest));
    ASSERT_TRUE (ours.setLastModificationTime (Time::getCurrentTime() + RelativeTime::hours (30)));
    const auto later = sandbox.home().getChildFile ("later.zip");
    ASSERT_EQ (tool ({ "zip", product.getFullPathName(), later.getFullPathName(), "Uninstall.exe=" + ours.getFullPathName() }).exitCode, 0);
    EXPECT_TRUE (later.hasIdenticalContentTo (zipped)) << "the archive depends on when the uninstaller was built";

    const auto dated = sandbox.home().getChildFile ("dated.zip");
    ASSERT_EQ (toolWith ({ "SOURCE_DATE_EPOCH=1700000001" }, { "zip", product.getFullPathName(), dated.getFullPathName(),
                                                             "Uninstall.exe=" + ours.getFullPathName() }).exitCode, 0);
    EXPECT_EQ (LoadedZip (dated).zip.getEntry ("Uninstall.exe")->fileTime, asRecorded (Time (1700000000000)));
    EXPECT_EQ (LoadedZip (dated).zip.getEntry ("Sorna.dll")->fileTime, asRecorded (Time (2024, 1, 19, 0, 0, 0, 0, true)))
        << "the folder's own files keep their times";
    const auto badEpoch = toolWith ({ "SOURCE_DATE_EPOCH=yesterday" }, { "zip", product.getFullPathName(), dated.getFullPathName(),
                                                                        "Uninstall.exe=" + ours.getFullPathName() });
    EXPECT_NE (badEpoch.exitCode, 0);
    EXPECT_TRUE (badEpoch.output.contains ("SOURCE_DATE_EPOCH is not a number of seconds")) << badEpoch.output;

    ASSERT_TRUE (product.getChildFile ("Uninstall.exe").replaceWithText ("the product's own uninstaller"));
    const auto own = sandbox.home().getChildFile ("own.zip");
    ASSERT_EQ (tool ({ "zip", product.getFullPathName(), own.getFullPathName(), "Uninstall.exe=" + ours.getFullPathName() }).exitCode, 0);
    EXPECT_EQ (tool ({ "check", own.getFullPathName() }).exitCode, 0) << "one Uninstall.exe only";
    EXPECT_EQ (LoadedZip (own).entries.entryBytes ("Uninstall.exe").toString(), "the product's own uninstaller");
}

// ZIP has no time zone: the same folder gives the same bytes in any zone the build runs in,
// and each file's time is recorded as UTC wall-clock time (zones given as POSIX rules, which
// need no zone database: fourteen hours east, and three and a half west with summer time).
TEST (PayloadTool, ZippingAFolderGivesTheSameBytesInEveryTimeZone)
{
    Sandbox sandbox;
    auto product = sandbox.folder ("product");
    const StringArray names { "Sorna.dll", "data/presets/Night.srn", "data/tutorials/Summer.xml" };
    const Time times[] { Time (2021, 0, 14, 23, 30, 10, 0, true), Time (2022, 6, 1, 1, 0, 0, 0, true),
                         Time (2023, 2, 12, 9, 15, 44, 0, true) };

    for (int i = 0; i < names.size(); ++i)
    {
        auto f = product.getChildFile (names[i]);
        ASSERT_TRUE (f.create().wasOk() && f.replaceWithText (names[i]));
        ASSERT_TRUE (f.setLastModificationTime (times[i]));
    }

    StringArray zones { "TZ=UTC0", "TZ=LINT-14", "TZ=NST3:30NDT,M3.2.0,M11.1.0" };
    const auto first = sandbox.home().getChildFile ("zone0.zip");

    for (int z = 0; z < zones.size(); ++z)
    {
        const auto zip = sandbox.home().getChildFile ("zone" + String (z) + ".zip");
        ASSERT_EQ (toolWith ({ zones[z] }, { "zip", product.getFullPathName(), zip.getFullPathName() }).exitCode, 0) << zones[z];
        EXPECT_TRUE (zip.hasIdenticalContentTo (first)) << zones[z];
    }

    const LoadedZip zipped (first);

    for (int i = 0; i < names.size(); ++i)
    {
        const auto* entry = zipped.zip.getEntry (names[i]);
        ASSERT_NE (entry, nullptr) << names[i];
        EXPECT_EQ (entry->fileTime, asRecorded (times[i])) << names[i];
    }
}

#endif
