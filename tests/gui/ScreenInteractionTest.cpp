#include <gtest/gtest.h>

#include "product/Product.h"
#include "ui/InstallerComponent.h"
#include "tests/support/GuiHelpers.h"
#include "tests/support/PayloadCheck.h"
#include "tests/support/Sandbox.h"

namespace
{
    using juce::File;
    using juce::String;

    struct ScreenInteraction : public ::testing::Test
    {
        Sandbox sandbox;
        std::unique_ptr<InstallerComponent> screen;
        int quitRequests = 0;

        void SetUp() override
        {
            sandbox.home().setAsCurrentWorkingDirectory();
            screen = std::make_unique<InstallerComponent>();
            screen->setSize (798, 693);
            screen->quitApplication = [this] { ++quitRequests; };
            pumpMessages();

            // Everything the screen may create stays inside the sandbox.
            for (auto* row : screen->getPluginRows())
                row->folderEditor->clear();
            screen->getStandaloneFolderEditor().setText (sandbox.home().getChildFile ("Programs").getFullPathName());
        }

        juce::TextEditor& rowFolder (int i) { return *screen->getPluginRows()[i]->folderEditor; }

        // A path that cannot become a folder: a plain file stands in the way of its parent.
        String uncreatable (const String& name)
        {
            const auto blocker = sandbox.home().getChildFile (name);
            blocker.replaceWithText ("in the way");
            return blocker.getChildFile ("plugins").getFullPathName();
        }

        void press (juce::Button& b) { screen->buttonClicked (&b); }
    };
}

TEST_F (ScreenInteraction, AbortQuestionCancelLeavesEverythingAndAbortQuits)
{
    rowFolder (1).setText ("typed by the user");
    {
        DialogAnswerer answer ("Cancel");
        press (screen->getCancelButton());
        ASSERT_TRUE (answer.answered());
        const auto& d = answer.dialogs().getFirst();
        EXPECT_EQ (d.title, "Abort installation");
        EXPECT_EQ (d.message, "Do you really want to stop installation?");
        EXPECT_EQ (d.icon, juce::MessageBoxIconType::WarningIcon);
        EXPECT_EQ (d.buttons.joinIntoString ("|"), "Abort|Cancel");
    }
    EXPECT_EQ (quitRequests, 0);
    EXPECT_EQ (rowFolder (1).getText(), "typed by the user");

    DialogAnswerer answer ("Abort");
    press (screen->getCancelButton());
    EXPECT_TRUE (answer.answered());
    EXPECT_EQ (quitRequests, 1);
    EXPECT_FALSE (sandbox.home().getChildFile ("Programs").exists());
}

TEST_F (ScreenInteraction, FirstRowFailureShowsItsReasonAndStopsTheChecks)
{
    const auto bad = uncreatable ("blocker");
    rowFolder (0).setText (bad);
    rowFolder (1).setText (sandbox.home().getChildFile ("later").getFullPathName());
    const auto reason = File (bad).createDirectory().getErrorMessage();
    ASSERT_TRUE (reason.isNotEmpty());

    DialogAnswerer answer ("OK");
    press (screen->getInstallButton());
    pumpMessages (300);

    ASSERT_TRUE (answer.answered());
    const auto& d = answer.dialogs().getFirst();
    EXPECT_EQ (d.title, "Couldn't create plugin directory");
    EXPECT_EQ (d.message, reason + "\n");
    EXPECT_EQ (d.icon, juce::MessageBoxIconType::WarningIcon);
    EXPECT_EQ (d.buttons, juce::StringArray ("OK"));
    EXPECT_FALSE (sandbox.home().getChildFile ("later").exists());
    EXPECT_FALSE (sandbox.home().getChildFile ("Programs").exists());
    EXPECT_EQ (quitRequests, 0);
}

TEST_F (ScreenInteraction, LaterRowFailureAsksForAValidFolderOrNone)
{
    rowFolder (0).setText (sandbox.home().getChildFile ("first").getFullPathName());
    rowFolder (2).setText (uncreatable ("blocker"));

    DialogAnswerer answer ("OK");
    press (screen->getInstallButton());
    pumpMessages (300);

    ASSERT_TRUE (answer.answered());
    EXPECT_TRUE (answer.dialogs().getFirst().message.endsWith ("\nPlease select a valid directory (or none at all)"));
    EXPECT_TRUE (sandbox.home().getChildFile ("first").isDirectory());
    EXPECT_FALSE (sandbox.home().getChildFile ("Programs").exists());
}

TEST_F (ScreenInteraction, EmptyStandaloneFolderIsRefusedWithTheAdministratorHint)
{
    screen->getStandaloneFolderEditor().clear();

    DialogAnswerer answer ("OK");
    press (screen->getInstallButton());
    pumpMessages (300);

    ASSERT_TRUE (answer.answered());
    EXPECT_EQ (answer.dialogs().getFirst().title, "Could not create standalone install directory");
    EXPECT_EQ (answer.dialogs().getFirst().message, "Cannot create parent directory" + Product::administratorHint());
    EXPECT_EQ (quitRequests, 0);
}

TEST_F (ScreenInteraction, CancelledRunRemovesTheStandaloneFolderItCreatedButNotAnEarlierOne)
{
    const auto programs = sandbox.home().getChildFile ("Programs");
    {
        DialogAnswerer answer ("Cancel");
        press (screen->getInstallButton());
        ASSERT_TRUE (answer.answered());
        EXPECT_EQ (answer.dialogs().getFirst().title, "Installation Progress");
    }
    EXPECT_FALSE (programs.exists());
    EXPECT_EQ (quitRequests, 0);

    programs.getChildFile ("mine.txt").create();
    {
        DialogAnswerer answer ("Cancel");
        press (screen->getInstallButton());
        ASSERT_TRUE (answer.answered());
    }
    EXPECT_TRUE (programs.getChildFile ("mine.txt").existsAsFile());
    EXPECT_EQ (quitRequests, 0);    EXPECT_EQ (PayloadCheck().damagedAfterJob (screen->getInstallOptions(), sandbox.documents().getChildFile ("Kestrune/Sorna"),
                                               screen->getErrorText()).joinIntoString ("\n"), String());
}

TEST_F (ScreenInteraction, FinishedRunShowsTheCompletionBoxThenQuits)
{
    const auto plugins = sandbox.home().getChildFile ("Plugins");
    rowFolder (0).setText (plugins.getFullPathName());

    DialogAnswerer answer ("Ok");
    answer.keepAnswering();
    press (screen->getInstallButton());

    ASSERT_TRUE (answer.answered());
    const auto& d = answer.dialogs().getLast();
    EXPECT_EQ (d.title, "Installation Complete");
    EXPECT_EQ (d.message, "Thank you for installing Sorna!\n");
    EXPECT_EQ (d.icon, juce::MessageBoxIconType::NoIcon);
    EXPECT_EQ (d.buttons, juce::StringArray ("Ok"));
    EXPECT_EQ (quitRequests, 1);
    EXPECT_EQ (screen->getErrorText(), "");
    EXPECT_TRUE (PayloadCheck().matches (plugins.getChildFile ("Sorna.dll"), "Sorna.dll"));    EXPECT_EQ (PayloadCheck().damagedAfterJob (screen->getInstallOptions(), sandbox.documents().getChildFile ("Kestrune/Sorna"),
                                               screen->getErrorText()).joinIntoString ("\n"), String());
}

TEST_F (ScreenInteraction, FinishedRunWithErrorsListsThem)
{
    // A folder where the plug-in file should go makes its copy fail.
    const auto plugins = sandbox.folder ("Plugins");
    plugins.getChildFile ("Sorna.dll").createDirectory();
    plugins.getChildFile ("Sorna.dll/keep").create();
    rowFolder (0).setText (plugins.getFullPathName());

    DialogAnswerer answer ("Ok");
    answer.keepAnswering();
    press (screen->getInstallButton());

    ASSERT_TRUE (answer.answered());
    const auto& d = answer.dialogs().getLast();
    EXPECT_EQ (d.title, "Installation Complete");
    EXPECT_TRUE (d.message.startsWith ("Thank you for installing Sorna!\nThe following errors occurred during installation:\nFailed to copy "))
        << d.message;
    EXPECT_EQ (quitRequests, 1);    EXPECT_EQ (PayloadCheck().damagedAfterJob (screen->getInstallOptions(), sandbox.documents().getChildFile ("Kestrune/Sorna"),
                                               screen->getErrorText()).joinIntoString ("\n"), String());
}
