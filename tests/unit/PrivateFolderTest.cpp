#include <gtest/gtest.h>

#include "platform/PrivateFolder.h"
#include "tests/support/Sandbox.h"

#include <sys/stat.h>

namespace
{
    using juce::File;

    int modeOf (const File& file)
    {
        struct stat info {};
        return ::lstat (file.getFullPathName().toRawUTF8(), &info) == 0 ? (int) (info.st_mode & 07777) : -1;
    }
}

TEST (PrivateFolder, IsNewEachTimeOnlyItsOwnersAndLeavesWhatStoodThereAlone)
{
    Sandbox sandbox;
    const auto parent = sandbox.folder ("parent");
    const auto elsewhere = sandbox.folder ("elsewhere");
    elsewhere.getChildFile ("canary").replaceWithText ("canary");
    ASSERT_TRUE (elsewhere.createSymbolicLink (parent.getChildFile ("Sorna"), true));
    parent.getChildFile ("Sorna-0").createDirectory();

    PrivateFolder first (parent, "Sorna"), second (parent, "Sorna");

    for (auto* folder : { &first, &second })
    {
        ASSERT_TRUE (folder->getResult().wasOk()) << folder->getResult().getErrorMessage();
        EXPECT_TRUE (folder->getFile().isDirectory());
        EXPECT_FALSE (folder->getFile().isSymbolicLink());
        EXPECT_EQ (folder->getFile().getParentDirectory(), parent);
        EXPECT_TRUE (folder->getFile().getFileName().matchesWildcard ("Sorna-????????", false)) << folder->getFile().getFileName();
        EXPECT_EQ (modeOf (folder->getFile()), 0700);
        EXPECT_EQ (PrivateFolder::accessRules(), "0700");
        EXPECT_EQ (folder->getFile().getNumberOfChildFiles (File::findFilesAndDirectories), 0);
    }

    EXPECT_NE (first.getFile(), second.getFile());
    EXPECT_EQ (parent.getChildFile ("Sorna").getLinkedTarget(), elsewhere);
    EXPECT_EQ (elsewhere.getNumberOfChildFiles (File::findFilesAndDirectories), 1);
}

TEST (PrivateFolder, RemoveAllTakesEverythingInsideButNothingALinkLeadsTo)
{
    Sandbox sandbox;
    const auto elsewhere = sandbox.folder ("elsewhere");
    elsewhere.getChildFile ("canary").replaceWithText ("canary");

    PrivateFolder folder (sandbox.temp(), "Sorna");
    ASSERT_TRUE (folder.getResult().wasOk());
    const auto inside = folder.getFile();
    inside.getChildFile ("data/presets/a.srn").create();
    inside.getChildFile (".hidden").replaceWithText ("x");
    ASSERT_TRUE (elsewhere.createSymbolicLink (inside.getChildFile ("data/link"), true));
    ASSERT_TRUE (elsewhere.getChildFile ("canary").createSymbolicLink (inside.getChildFile ("file-link"), true));

    EXPECT_TRUE (folder.removeAll());
    EXPECT_FALSE (inside.exists());
    EXPECT_EQ (elsewhere.getChildFile ("canary").loadFileAsString(), "canary");
}

TEST (PrivateFolder, AParentThatIsNoFolderIsAFailureThatNamesTheFolder)
{
    Sandbox sandbox;
    const auto notAFolder = sandbox.temp().getChildFile ("file");
    notAFolder.replaceWithText ("x");

    PrivateFolder folder (notAFolder, "Sorna");
    EXPECT_TRUE (folder.getResult().failed());
    EXPECT_EQ (folder.getResult().getErrorMessage(), "Failed to create target folder: " + folder.getFile().getFullPathName());
    EXPECT_TRUE (folder.getFile().isAChildOf (notAFolder));
    EXPECT_FALSE (folder.removeAll());
    EXPECT_EQ (notAFolder.loadFileAsString(), "x");
}
