#include <gtest/gtest.h>
#include "platform/WholeFile.h"
#include "tests/support/Sandbox.h"

#include <sys/stat.h>

using juce::File;
using juce::MemoryBlock;
using juce::String;

namespace
{
    MemoryBlock bytesOf (const char* text)
    {
        return MemoryBlock (text, strlen (text));
    }

    ino_t inodeOf (const File& file)
    {
        struct stat info {};
        return ::lstat (file.getFullPathName().toRawUTF8(), &info) == 0 ? info.st_ino : 0;
    }

    // A stream that promises more than it delivers, as a file does whose read fails part-way.
    struct FailingStream : public juce::InputStream
    {
        juce::int64 position = 0;

        juce::int64 getTotalLength() override      { return 100000; }
        bool isExhausted() override                 { return false; }
        juce::int64 getPosition() override          { return position; }
        bool setPosition (juce::int64 p) override   { position = p; return true; }

        int read (void* dest, int n) override
        {
            const auto count = (int) juce::jmin ((juce::int64) n, 30000 - position);

            if (count <= 0)
                return 0;

            memset (dest, 'x', (size_t) count);
            position += count;
            return count;
        }
    };
}

TEST (WholeFile, AStreamThatEndsEarlyLeavesThePreviousFile)
{
    Sandbox sandbox;
    const auto target = sandbox.folder ("out").getChildFile ("file.bin");
    ASSERT_TRUE (target.replaceWithText ("previous"));

    FailingStream stream;
    EXPECT_FALSE (WholeFile::replaceWith (target, stream));
    EXPECT_EQ (target.loadFileAsString(), "previous");
    EXPECT_EQ (target.getParentDirectory().getNumberOfChildFiles (File::findFilesAndDirectories), 1);

    juce::MemoryInputStream whole (bytesOf ("new content"), true);
    EXPECT_TRUE (WholeFile::replaceWith (target, whole));
    EXPECT_EQ (target.loadFileAsString(), "new content");
}

TEST (WholeFile, ReadsSmallFilesUpToTheirLimit)
{
    Sandbox sandbox;
    const auto file = sandbox.home().getChildFile ("small.txt");
    ASSERT_TRUE (file.replaceWithText ("0123456789"));

    MemoryBlock exact, over;
    EXPECT_TRUE (WholeFile::readSmall (file, 10, exact));
    EXPECT_EQ (exact, bytesOf ("0123456789"));
    EXPECT_FALSE (WholeFile::readSmall (file, 9, over));
    EXPECT_FALSE (WholeFile::readSmall (sandbox.home(), 10, over)) << "a folder is no file";
    EXPECT_FALSE (WholeFile::readSmall (file.getSiblingFile ("missing"), 10, over));
}

// Linking is the fast way on Linux; whichever way a file arrives, it must be the same as a copy.
TEST (WholeFile, CopyOrLinkGivesAWholeFileAndLeavesNothingElse)
{
    Sandbox sandbox;
    const auto from = sandbox.folder ("from");
    const auto to = sandbox.folder ("to");
    const auto source = from.getChildFile ("Preset 1.srn");
    ASSERT_TRUE (source.replaceWithText ("preset data"));

    // Into an empty place, and over an older file of the user's.
    for (int round = 0; round < 2; ++round)
    {
        const auto destination = to.getChildFile ("Preset 1.srn");

        if (round == 1)
        {
            ASSERT_TRUE (destination.replaceWithText ("an older, longer version of the preset"));
        }

        EXPECT_TRUE (WholeFile::copyOrLink (source, destination)) << round;
        EXPECT_EQ (destination.loadFileAsString(), "preset data") << round;
        EXPECT_EQ (source.loadFileAsString(), "preset data") << "the source stays";
        EXPECT_EQ (to.getNumberOfChildFiles (File::findFilesAndDirectories), 1) << "no temporary file left";
    }

    // Once more onto what is by now the same file (as after an earlier run that kept its
    // temporary folder): nothing changes and no temporary name is left behind.
    EXPECT_TRUE (WholeFile::copyOrLink (source, to.getChildFile ("Preset 1.srn")));
    EXPECT_EQ (to.getChildFile ("Preset 1.srn").loadFileAsString(), "preset data");
    EXPECT_EQ (to.getNumberOfChildFiles (File::findFilesAndDirectories), 1);

    // A folder in the way is left alone, empty or not.
    const auto emptyFolder = to.getChildFile ("Empty.srn");
    const auto fullFolder = to.getChildFile ("Full.srn");
    ASSERT_TRUE (emptyFolder.createDirectory().wasOk());
    ASSERT_TRUE (fullFolder.getChildFile ("mine.txt").create().wasOk());
    EXPECT_FALSE (WholeFile::copyOrLink (source, emptyFolder));
    EXPECT_FALSE (WholeFile::copyOrLink (source, fullFolder));
    EXPECT_TRUE (emptyFolder.isDirectory());
    EXPECT_TRUE (fullFolder.getChildFile ("mine.txt").existsAsFile());
    EXPECT_EQ (to.getNumberOfChildFiles (File::findFilesAndDirectories), 3);

    EXPECT_FALSE (WholeFile::copyOrLink (from.getChildFile ("missing.srn"), to.getChildFile ("missing.srn")));
    EXPECT_FALSE (to.getChildFile ("missing.srn").exists());
}

TEST (WholeFile, ASymbolicLinkAmongTheSourcesIsCopiedNotLinked)
{
    Sandbox sandbox;
    const auto elsewhere = sandbox.folder ("elsewhere").getChildFile ("user file.txt");
    ASSERT_TRUE (elsewhere.replaceWithText ("the user's own text"));
    const auto source = sandbox.folder ("from").getChildFile ("Preset.srn");
    ASSERT_TRUE (elsewhere.createSymbolicLink (source, false));

    const auto destination = sandbox.folder ("to").getChildFile ("Preset.srn");
    ASSERT_TRUE (WholeFile::copyOrLink (source, destination));
    EXPECT_FALSE (destination.isSymbolicLink());
    EXPECT_NE (inodeOf (destination), inodeOf (elsewhere)) << "the installed file must not be the user's file";
    EXPECT_EQ (destination.loadFileAsString(), "the user's own text");
}

TEST (WholeFile, CopyOrLinkCopiesAcrossFileSystems)
{
    // /dev/shm is a memory file system on Linux: no hard link reaches from there into the sandbox.
    const File shm ("/dev/shm");

    if (! shm.isDirectory() || ! shm.hasWriteAccess())
        GTEST_SKIP() << "no /dev/shm";

    Sandbox sandbox;
    const auto source = shm.getNonexistentChildFile ("sorna-whole-file-test", ".srn", false);
    ASSERT_TRUE (source.replaceWithText ("from another file system"));
    const juce::Time made (2019, 10, 4, 12, 0, 0, 0, true);
    ASSERT_TRUE (source.setLastModificationTime (made));

    const auto destination = sandbox.folder ("to").getChildFile ("Preset.srn");
    const bool copied = WholeFile::copyOrLink (source, destination);
    source.deleteFile();

    EXPECT_TRUE (copied);
    EXPECT_EQ (destination.loadFileAsString(), "from another file system");
    EXPECT_EQ (destination.getLastModificationTime().toMilliseconds(), made.toMilliseconds());
    EXPECT_EQ (destination.getParentDirectory().getNumberOfChildFiles (File::findFilesAndDirectories), 1);
}

// The system's own copy keeps the source's last write time; an installed file shows when it
// was made, into an empty place or over an older file alike.
TEST (WholeFile, CopyKeepsTheSourcesModificationTime)
{
    Sandbox sandbox;
    const auto source = sandbox.folder ("from").getChildFile ("Sorna.dll");
    ASSERT_TRUE (source.replaceWithText ("plug-in"));
    const juce::Time made (2019, 10, 4, 12, 0, 2, 0, true);
    ASSERT_TRUE (source.setLastModificationTime (made));

    const auto fresh = sandbox.folder ("to").getChildFile ("Sorna.dll");
    const auto over = sandbox.folder ("over").getChildFile ("Sorna.dll");
    ASSERT_TRUE (over.replaceWithText ("an older plug-in"));

    for (auto& destination : { fresh, over })
    {
        EXPECT_TRUE (WholeFile::copy (source, destination)) << destination.getFullPathName();
        EXPECT_EQ (destination.loadFileAsString(), "plug-in");
        EXPECT_EQ (destination.getLastModificationTime().toMilliseconds(), made.toMilliseconds()) << destination.getFullPathName();
        EXPECT_EQ (destination.getParentDirectory().getNumberOfChildFiles (File::findFilesAndDirectories), 1);
    }

    EXPECT_EQ (source.getLastModificationTime().toMilliseconds(), made.toMilliseconds()) << "the source is untouched";
}
