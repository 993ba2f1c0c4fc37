// Folder texts as users really type them, through the screen's own "Accept and install": each
// either installs cleanly into exactly the folders it names or gives a clear warning box, and
// no file ever lands anywhere else.
#include <gtest/gtest.h>

#include "ui/InstallerComponent.h"
#include "tests/support/GuiHelpers.h"
#include "tests/support/PayloadCheck.h"
#include "tests/support/Sandbox.h"

namespace
{
    using juce::File;
    using juce::String;
    using juce::StringArray;

    struct BadFolderText : public ::testing::Test
    {
        Sandbox sandbox;
        File workingFolder;
        std::unique_ptr<InstallerComponent> screen;
        int quitRequests = 0;
        juce::Array<SeenDialog> dialogs;

        void SetUp() override
        {
            // Relative texts resolve here, one level inside the sandbox, so that ".." stays in it.
            workingFolder = sandbox.folder ("cwd");
            workingFolder.setAsCurrentWorkingDirectory();
            screen = std::make_unique<InstallerComponent>();
            screen->setSize (798, 693);
            screen->quitApplication = [this] { ++quitRequests; };
            pumpMessages();

            for (auto* row : screen->getPluginRows())
            {
                row->folderEditor->clear();
                row->formatBox->setSelectedId (1, juce::dontSendNotification);
            }
        }

        void setRow (int i, const String& text, int format = 1)
        {
            screen->getPluginRows()[i]->folderEditor->setText (text);
            screen->getPluginRows()[i]->formatBox->setSelectedId (format, juce::dontSendNotification);
        }

        void setStandalone (const String& text) { screen->getStandaloneFolderEditor().setText (text); }

        String home (const String& relative) const { return sandbox.home().getFullPathName() + "/" + relative; }

        // Presses "Accept and install" and answers whatever box comes: "OK" for a warning,
        // "Ok" for the completion box. Returns the box's title.
        String install()
        {
            DialogAnswerer warning ("OK"), completion ("Ok");
            completion.keepAnswering();
            screen->buttonClicked (&screen->getInstallButton());
            pumpMessages (300);

            // Either answerer may have seen a box first; the progress window is not an answer.
            dialogs.clearQuick();

            for (auto* seen : { &warning.dialogs(), &completion.dialogs() })
                for (const auto& d : *seen)
                    if (d.title != "Installation Progress")
                        dialogs.add (d);

            return dialogs.isEmpty() ? String ("<no box>") : dialogs.getLast().title;
        }

        // Every file in the sandbox but the desktop session's own cache (dconf writes there).
        StringArray allFiles() const
        {
            StringArray files;

            for (const auto& entry : juce::RangedDirectoryIterator (sandbox.home(), true, "*", File::findFiles))
                if (! entry.getFile().isAChildOf (sandbox.home().getChildFile (".cache")))
                    files.add (entry.getFile().getFullPathName());

            return files;
        }

        // Every file in the sandbox lies below one of the chosen folders or a system folder
        // the installer uses; returns the others.
        StringArray filesOutside (const juce::Array<File>& chosen) const
        {
            auto allowed = chosen;
            allowed.addArray ({ sandbox.documents(), sandbox.appData(), sandbox.desktop(), sandbox.temp() });
            StringArray outside;

            for (const auto& path : allFiles())
            {
                const File file (path);
                bool inside = false;

                for (const auto& folder : allowed)
                    inside = inside || file.isAChildOf (folder);

                if (! inside)
                    outside.add (path);
            }

            return outside;
        }

        // A completed installation: no failure, the plug-in and program files in place and
        // equal to the payload, nothing anywhere else.
        void expectCleanInstall (const juce::Array<File>& pluginFolders, const File& programFolder)
        {
            EXPECT_EQ (quitRequests, 1);
            EXPECT_EQ (screen->getErrorText(), "");
            const PayloadCheck payload;

            for (const auto& folder : pluginFolders)
                EXPECT_TRUE (payload.matches (folder.getChildFile ("Sorna.dll"), "Sorna.dll")) << folder.getFullPathName();

            EXPECT_TRUE (payload.matches (programFolder.getChildFile ("Sorna.exe"), "Sorna.exe")) << programFolder.getFullPathName();
            EXPECT_TRUE (payload.matches (programFolder.getChildFile ("Uninstall.exe"), "Uninstall.exe"));

            auto chosen = pluginFolders;
            chosen.add (programFolder);
            EXPECT_EQ (filesOutside (chosen).joinIntoString ("\n"), String());
            EXPECT_EQ (payload.damagedAfterJob (screen->getInstallOptions(), sandbox.documents().getChildFile ("Kestrune/Sorna"),
                                                screen->getErrorText()).joinIntoString ("\n"), String());
        }
    };
}

TEST_F (BadFolderText, ANameTooLongForTheDiskGivesTheFolderBoxAndNothingElse)
{
    setRow (0, home (String::repeatedString ("p", 300)));
    setStandalone (home ("Programs"));

    EXPECT_EQ (install(), "Couldn't create plugin directory");
    EXPECT_EQ (dialogs.getLast().message, File (home (String::repeatedString ("p", 300))).createDirectory().getErrorMessage() + "\n");
    EXPECT_EQ (quitRequests, 0);
    EXPECT_FALSE (File (home ("Programs")).exists());
    EXPECT_EQ (allFiles().joinIntoString ("\n"), String());

    // The same for the stand-alone folder, with the administrator hint.
    setRow (0, {});
    setStandalone (home (String::repeatedString ("s", 300)));
    EXPECT_EQ (install(), "Could not create standalone install directory");
    EXPECT_EQ (quitRequests, 0);
    EXPECT_EQ (allFiles().joinIntoString ("\n"), String());
}

TEST_F (BadFolderText, ALongPathOfShortNamesInstallsThere)
{
    String longPath = home ("");

    while (longPath.length() < 300)
        longPath << "Folder with a longish name " << longPath.length() << "/";

    setRow (0, longPath + "Plugins");
    setStandalone (longPath + "Programs");
    ASSERT_GT (screen->getStandaloneFolderEditor().getText().length(), 300);

    EXPECT_EQ (install(), "Installation Complete");
    expectCleanInstall ({ File (longPath + "Plugins") }, File (longPath + "Programs"));
}

TEST_F (BadFolderText, TrailingSpacesAndDotDotNameTheFoldersTheCheckCreated)
{
    setRow (0, home ("Plugins  "));
    setRow (1, home ("a/../Plugins2"));
    setRow (2, "../Relative/../Plugins3");           // relative to the working folder
    setStandalone (home ("b/../Programs "));

    EXPECT_EQ (install(), "Installation Complete");
    expectCleanInstall ({ File (home ("Plugins  ")), File (home ("Plugins2")), File (home ("Plugins3")) },
                        File (home ("Programs ")));
    EXPECT_FALSE (File (home ("Plugins")).exists());
    EXPECT_FALSE (File (home ("Programs")).exists());
}

TEST_F (BadFolderText, CharactersWindowsForbidsAndATrailingBackslashStayInsideTheirFolder)
{
    // Linux accepts every one of these in a name; what matters is that the files land inside
    // the folder the check created for that very text.
    const auto odd = home ("Plu<g>i:n\"s|?*");
    setRow (0, odd);
    setStandalone (home ("Programs\\"));

    EXPECT_EQ (install(), "Installation Complete");
    expectCleanInstall ({ File (odd) }, File (home ("Programs\\")));
}

TEST_F (BadFolderText, AnEmptyRowBetweenUsedRowsAndOneFolderInTwoRows)
{
    setRow (0, home ("Shared"), 1);
    setRow (1, {});
    setRow (2, home ("Shared"), 2);
    setStandalone (home ("Programs"));

    EXPECT_EQ (install(), "Installation Complete");
    expectCleanInstall ({ File (home ("Shared")) }, File (home ("Programs")));
    EXPECT_TRUE (PayloadCheck().matches (File (home ("Shared/Sorna64.dll")), "Sorna64.dll"));

    const auto* saved = screen->getProperties().getRootElement();
    EXPECT_EQ (saved->getStringAttribute ("PluginInstallDir"), home ("Shared/"));
    EXPECT_FALSE (saved->hasAttribute ("PluginInstallDir2"));
    EXPECT_EQ (saved->getStringAttribute ("PluginInstallDir3"), home ("Shared/"));
}
