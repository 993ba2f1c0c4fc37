#include <gtest/gtest.h>

#include "targets/FolderChecks.h"
#include "tests/support/Sandbox.h"

// The folder checks before an installation: create what is missing, stop at the first failure.
namespace
{
    using juce::String;

    // A path that cannot become a folder: a plain file stands where its parent should be.
    String uncreatable (const Sandbox& sandbox, const String& name)
    {
        const auto blocker = sandbox.home().getChildFile (name);
        blocker.replaceWithText ("in the way");
        return blocker.getChildFile ("plugins").getFullPathName();
    }
}

TEST (FolderChecks, CreatesEveryChosenFolderAndSkipsEmptyRows)
{
    Sandbox sandbox;
    const auto a = sandbox.home().getChildFile ("A/deep"), programs = sandbox.home().getChildFile ("Programs");

    const auto outcome = FolderChecks::createChosenFolders ({ "", a.getFullPathName(), "" }, programs.getFullPathName());
    EXPECT_FALSE (outcome.failed());
    EXPECT_TRUE (a.isDirectory());
    EXPECT_TRUE (programs.isDirectory());
    EXPECT_FALSE (outcome.standaloneExisted);

    // Created by this attempt, so removed after a cancel; an earlier folder is kept.
    FolderChecks::removeStandaloneFolderIfCreated (outcome);
    EXPECT_FALSE (programs.exists());

    programs.getChildFile ("mine.txt").create();
    const auto again = FolderChecks::createChosenFolders ({}, programs.getFullPathName());
    EXPECT_TRUE (again.standaloneExisted);
    FolderChecks::removeStandaloneFolderIfCreated (again);
    EXPECT_TRUE (programs.getChildFile ("mine.txt").existsAsFile());
}

TEST (FolderChecks, TheFirstFailureStopsTheChecksWithItsMessage)
{
    Sandbox sandbox;
    const auto later = sandbox.home().getChildFile ("Later");
    const auto programs = sandbox.home().getChildFile ("Programs");

    const auto first = FolderChecks::createChosenFolders ({ uncreatable (sandbox, "x"), later.getFullPathName() },
                                                          programs.getFullPathName());
    EXPECT_EQ (first.errorTitle, "Couldn't create plugin directory");
    EXPECT_TRUE (first.errorMessage.endsWith ("\n")) << first.errorMessage;
    EXPECT_FALSE (first.errorMessage.contains ("Please select"));
    EXPECT_FALSE (later.exists());
    EXPECT_FALSE (programs.exists());

    const auto second = FolderChecks::createChosenFolders ({ "", uncreatable (sandbox, "y") }, programs.getFullPathName());
    EXPECT_TRUE (second.errorMessage.endsWith ("\nPlease select a valid directory (or none at all)")) << second.errorMessage;

    const auto standalone = FolderChecks::createChosenFolders ({}, {});
    EXPECT_EQ (standalone.errorTitle, "Could not create standalone install directory");
    EXPECT_TRUE (standalone.errorMessage.contains ("administrator privileges")) << standalone.errorMessage;
}
