#include <gtest/gtest.h>

#include "ui/InstallerComponent.h"
#include "tests/support/GuiHelpers.h"
#include "tests/support/Sandbox.h"

// The screen is told to use JUCE's own folder dialog, so these tests drive it like a user (the
// box opens, a folder is picked and confirmed, or not) whether or not zenity or kdialog is
// installed on the machine.
namespace
{
    template <typename Type>
    Type* findChild (juce::Component& parent, std::function<bool (Type&)> accept = [] (Type&) { return true; })
    {
        for (auto* child : parent.getChildren())
        {
            if (auto* found = dynamic_cast<Type*> (child); found != nullptr && accept (*found))
                return found;
            if (auto* deeper = findChild<Type> (*child, accept))
                return deeper;
        }
        return nullptr;
    }

    class ChooserAnswerer : private juce::Timer
    {
    public:
        ChooserAnswerer (juce::File folderToPick, bool confirm) : pick (std::move (folderToPick)), ok (confirm) { startTimer (20); }

        juce::File startedAt;
        juce::String title;
        bool seen = false;

    private:
        void timerCallback() override
        {
            auto* box = dynamic_cast<juce::FileChooserDialogBox*> (juce::Component::getCurrentlyModalComponent());
            auto* browser = box != nullptr ? findChild<juce::FileBrowserComponent> (*box) : nullptr;

            if (seen || browser == nullptr)
                return;

            seen = true;
            stopTimer();
            title = box->getName();
            startedAt = browser->getRoot();
            browser->setRoot (pick);

            // Press the box's own button: "Cancel", or its action button to confirm.
            auto* button = findChild<juce::TextButton> (*box, [this] (juce::TextButton& b)
            {
                const auto text = b.getButtonText();
                return ok ? (text != "Cancel" && text != "New Folder") : text == "Cancel";
            });

            if (button != nullptr)
                button->triggerClick();
            else
                box->exitModalState (0);   // fail rather than hang
        }

        juce::File pick;
        bool ok;
    };
}

TEST (BrowseForFolder, EmptyFieldStartsAtTheDefaultFolderAndTheChoiceFillsOnlyThatRow)
{
    Sandbox sandbox;

    // A native chooser on the machine is never started: this one would leave a trace and refuse.
    const auto bin = sandbox.folder ("bin");
    const auto trace = sandbox.home().getChildFile ("zenity-was-started");
    ASSERT_TRUE (bin.getChildFile ("zenity").replaceWithText ("#!/bin/sh\ntouch '" + trace.getFullPathName() + "'\nexit 1\n"));
    ASSERT_TRUE (bin.getChildFile ("zenity").setExecutePermission (true));
    const auto path = juce::SystemStats::getEnvironmentVariable ("PATH", {});
    ASSERT_EQ (setenv ("PATH", (bin.getFullPathName() + ":" + path).toRawUTF8(), 1), 0);

    InstallerComponent screen;
    screen.useNativeFolderChooser = false;
    screen.setSize (798, 693);
    pumpMessages();

    const auto& row = *screen.getPluginRows()[1];
    ASSERT_TRUE (row.folderEditor->isEmpty());
    const auto picked = sandbox.folder ("Picked Plugins");
    const auto row0Before = screen.getPluginRows()[0]->folderEditor->getText();

    ChooserAnswerer answer (picked, true);
    screen.buttonClicked (row.browseButton.get());

    ASSERT_TRUE (answer.seen);
    EXPECT_EQ (answer.title, "Open plugin directory");
    EXPECT_TRUE (answer.startedAt.isDirectory()) << answer.startedAt.getFullPathName();
    EXPECT_EQ (row.folderEditor->getText(), picked.getFullPathName());
    EXPECT_EQ (screen.getPluginRows()[0]->folderEditor->getText(), row0Before);
    EXPECT_TRUE (screen.getPluginRows()[2]->folderEditor->getText().startsWith ("C:\\"));
    EXPECT_FALSE (trace.exists());
    setenv ("PATH", path.toRawUTF8(), 1);
}

TEST (BrowseForFolder, CancelKeepsTheTextAndTheStandaloneChooserStartsAtItsFolder)
{
    Sandbox sandbox;
    InstallerComponent screen;
    screen.useNativeFolderChooser = false;
    screen.setSize (798, 693);
    pumpMessages();

    const auto current = sandbox.folder ("Current Programs");
    screen.getStandaloneFolderEditor().setText (current.getFullPathName());

    ChooserAnswerer answer (sandbox.folder ("Elsewhere"), false);
    screen.buttonClicked (&screen.getStandaloneBrowseButton());

    ASSERT_TRUE (answer.seen);
    EXPECT_EQ (answer.title, "Open directory for standalone application");
    EXPECT_EQ (answer.startedAt, current);
    EXPECT_EQ (screen.getStandaloneFolderEditor().getText(), current.getFullPathName());
}
