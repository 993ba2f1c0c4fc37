#include "install/RegistryRecords.h"
#include "platform/Registry.h"
#include "platform/ShellLink.h"
#include "platform/SpecialFolders.h"
#include "tests/support/JobFixture.h"
#include "tests/support/Processes.h"
#include "tests/support/Snapshots.h"
#include "uninstall/RemovalPlan.h"

#include <unistd.h>

// The uninstaller's logic after a real installation into a sandbox: what it removes, what it
// keeps, and that a second run changes nothing.
namespace
{
    using juce::File;
    using juce::String;

    struct Removal
    {
        std::unique_ptr<RemovalPlan> plan;
        InstalledProduct product;
    };

    // Reads the remembered choices afresh, as the uninstaller does when it starts. leftToCaller
    // is the file that the program removes itself afterwards (its own, on Windows).
    Removal uninstall (const File& runningUninstaller = {}, const File& leftToCaller = {})
    {
        InstallProperties properties (SpecialFolders::applicationData());
        properties.loadProperties();

        Removal removal;
        removal.product = InstalledProduct::find (properties, ContentList::embedded(), runningUninstaller);
        removal.plan = std::make_unique<RemovalPlan> (removal.product);
        removal.plan->carryOut (leftToCaller);
        return removal;
    }

    RemovalOutcome outcomeFor (const RemovalPlan& plan, const String& label)
    {
        for (auto& step : plan.getSteps())
            if (step.label == label)
                return step.outcome;

        return RemovalOutcome::pending;
    }

    // The report's line for something that stayed.
    String stayed (const String& label, RemovalOutcome outcome)
    {
        return label + " (" + describeOutcome (outcome) + ")";
    }

    // A folder from which nothing can be removed while the object lives, so that a folder in
    // it can be emptied but not removed, as one that another program works in. Root may remove
    // from a read-only folder, so it makes the folder immutable instead.
    struct LockedFolder
    {
        explicit LockedFolder (const File& f) : folder (f)  { locked = lock (true); }
        ~LockedFolder()                                      { if (locked) lock (false); }

        bool lock (bool on) const
        {
            return ::geteuid() == 0 ? runProcess ({ "chattr", on ? "+i" : "-i", folder.getFullPathName() }).exitCode == 0
                                    : folder.setReadOnly (on);
        }

        File folder;
        bool locked = false;
    };
}

struct UninstallTest : public JobFixture
{
    std::set<String> treeBefore, registryBefore;

    void SetUp() override
    {
        JobFixture::SetUp();

        // The folders that the installer screen creates belong to the installation.
        for (auto& f : { plugins32, plugins3, standalone.getParentDirectory().getParentDirectory() })
            f.deleteRecursively();

        treeBefore = fileTree (sandbox.home(), false);
        registryBefore = registryRecords();

        for (auto& f : { plugins32, plugins3, standalone })
            f.createDirectory();

        ASSERT_TRUE (runJob());
        ASSERT_EQ (errorText, String());
    }

    File presets() const  { return contentFolder().getChildFile ("presets"); }

    bool installAgain()
    {
        for (auto& f : { plugins32, plugins3, standalone })
            f.createDirectory();

        return runJob() && errorText.isEmpty();
    }

    // The first factory preset, by the content list's order.
    File factoryPreset() const
    {
        for (auto& content : ContentList::embedded())
            if (content.path.startsWith ("presets/"))
                return contentFolder().getChildFile (content.path);

        return {};
    }
};

TEST_F (UninstallTest, RemovesTheWholeInstallationButTheUsersPresetsAndASecondRunChangesNothing)
{
    ASSERT_TRUE (sandbox.desktop().getChildFile ("Sorna.lnk").existsAsFile());
    ASSERT_TRUE (standalone.getChildFile ("Uninstall.exe").existsAsFile());
    ASSERT_NE (Registry::getValue (RegistryRecords::uninstallKeyPath() + "DisplayName"), String());

    const auto own = presets().getChildFile (juce::CharPointer_UTF8 ("Mine/My \xc3\xa9t\xc3\xa9 pad.srn"));
    ASSERT_TRUE (own.create().wasOk() && own.replaceWithText ("my own preset"));
    const auto changed = factoryPreset();
    ASSERT_TRUE (changed.existsAsFile());
    ASSERT_TRUE (changed.appendText ("changed"));

    auto removal = uninstall();
    auto& plan = *removal.plan;
    EXPECT_TRUE (plan.isComplete());

    // Nothing is left but the two presets and the folders that hold them.
    auto expected = treeBefore;

    for (auto f = own; f != sandbox.documents(); f = f.getParentDirectory())
        expected.insert (f.getRelativePathFrom (sandbox.home()) + (f.isDirectory() ? "/" : ""));

    for (auto f = changed; f != presets(); f = f.getParentDirectory())
        expected.insert (f.getRelativePathFrom (sandbox.home()) + (f.isDirectory() ? "/" : ""));

    const auto after = fileTree (sandbox.home(), false);
    EXPECT_EQ (asText (after), asText (expected));
    EXPECT_EQ (asText (registryRecords()), asText (registryBefore));
    EXPECT_EQ (own.loadFileAsString(), "my own preset");
    EXPECT_TRUE (changed.loadFileAsString().endsWith ("changed"));

    // The report names exactly those two, each with its reason.
    EXPECT_EQ (plan.reportLines().joinIntoString ("\n"),
               changed.getFullPathName() + " (" + describeOutcome (RemovalOutcome::keptChanged) + ")\n"
                   + own.getFullPathName() + " (" + describeOutcome (RemovalOutcome::keptOwn) + ")");
    EXPECT_TRUE (plan.reportMessage().startsWith ("These stayed:\n"));

    // Again, now without install.xml and uninstall entry: nothing changes, nothing fails.
    auto again = uninstall();
    EXPECT_TRUE (again.plan->isComplete());
    EXPECT_EQ (asText (fileTree (sandbox.home(), false)), asText (after));
    EXPECT_EQ (asText (registryRecords()), asText (registryBefore));
    EXPECT_TRUE (again.plan->reportLines().contains ("The plug-in folders are not known: no remembered choices were found."));
}

TEST_F (UninstallTest, KeepsTracesThatPointElsewhereAndFoldersThatStillHoldSomething)
{
    // The shortcut now opens another program, and presets open with another one too.
    const auto other = sandbox.home().getChildFile ("Other/Other.exe");
    const auto link = sandbox.desktop().getChildFile ("Sorna.lnk");
    ASSERT_EQ (createShellLink (other.getFullPathName(), link.getFullPathName(), {}, {}, {}, errorText), 0);
    ASSERT_TRUE (RegistryRecords::registerPresetFileType (other));

    // Files of someone else's in the plug-in folder and the programs folder.
    ASSERT_TRUE (plugins32.getChildFile ("Another.dll").replaceWithText ("x"));
    ASSERT_TRUE (standalone.getChildFile ("notes.txt").replaceWithText ("x"));

    auto removal = uninstall();
    auto& plan = *removal.plan;
    EXPECT_TRUE (plan.isComplete());

    EXPECT_TRUE (link.existsAsFile());
    EXPECT_EQ (outcomeFor (plan, link.getFullPathName()), RemovalOutcome::keptForeign);
    EXPECT_EQ (RegistryRecords::registeredPresetProgram(), other);
    EXPECT_EQ (Registry::getValue (RegistryRecords::presetExtensionKeyPath()), "SornaPreset");
    EXPECT_EQ (outcomeFor (plan, RegistryRecords::presetTypeKeyPath()), RemovalOutcome::keptForeign);

    EXPECT_FALSE (plugins32.getChildFile ("Sorna.dll").exists());
    EXPECT_TRUE (plugins32.getChildFile ("Another.dll").existsAsFile());
    EXPECT_FALSE (plugins3.exists());
    EXPECT_EQ (standalone.findChildFiles (File::findFilesAndDirectories, true).size(), 1);
    EXPECT_TRUE (standalone.getChildFile ("notes.txt").existsAsFile());
    EXPECT_EQ (outcomeFor (plan, standalone.getChildFile ("notes.txt").getFullPathName()), RemovalOutcome::keptOwn);
    EXPECT_FALSE (contentFolder().getParentDirectory().exists());
    EXPECT_EQ (Registry::getValue (RegistryRecords::uninstallKeyPath() + "DisplayName", "<gone>"), "<gone>");
    EXPECT_FALSE (savedProperties().exists());
}

TEST_F (UninstallTest, WithoutInstallXmlTheEntryOrItsOwnFolderNameTheProgramsFolder)
{
    ASSERT_TRUE (savedProperties().deleteFile());

    // The uninstall entry names the programs folder; the plug-in folders are unknown now.
    auto removal = uninstall();
    EXPECT_TRUE (removal.plan->isComplete());
    EXPECT_FALSE (standalone.exists());
    EXPECT_FALSE (contentFolder().exists());
    EXPECT_FALSE (sandbox.desktop().getChildFile ("Sorna.lnk").exists());
    EXPECT_EQ (Registry::getValue (RegistryRecords::presetTypeKeyPath(), "<gone>"), "<gone>");
    EXPECT_TRUE (plugins32.getChildFile ("Sorna.dll").existsAsFile());
    EXPECT_TRUE (removal.plan->reportLines().contains ("The plug-in folders are not known: no remembered choices were found."));

    // With neither, the running uninstaller's own folder is the programs folder.
    for (auto& f : { plugins32, plugins3, standalone })
        f.createDirectory();

    ASSERT_TRUE (runJob());
    ASSERT_TRUE (savedProperties().deleteFile());
    ASSERT_TRUE (Registry::deleteKey (RegistryRecords::uninstallKeyPath()));

    removal = uninstall (standalone.getChildFile ("Uninstall.exe"));
    EXPECT_TRUE (removal.plan->isComplete());
    EXPECT_FALSE (standalone.exists());
    EXPECT_FALSE (sandbox.desktop().getChildFile ("Sorna.lnk").exists());

    // And on a machine where nothing was ever installed, nothing happens.
    Sandbox empty;
    const auto emptyTree = fileTree (empty.home(), false);
    removal = uninstall();
    EXPECT_TRUE (removal.plan->isComplete());
    EXPECT_EQ (asText (fileTree (empty.home(), false)), asText (emptyTree));
    EXPECT_FALSE (Registry::standInFile().exists());
    EXPECT_EQ (removal.plan->reportLines().size(), 2);
}

TEST_F (UninstallTest, AFileThatCannotBeRemovedIsReportedAndALaterRunFinishes)
{
    // Root may delete from a read-only folder, so it makes the file immutable instead.
    const auto stuck = factoryPreset();
    const bool asRoot = ::geteuid() == 0;
    const auto locked = asRoot ? runProcess ({ "chattr", "+i", stuck.getFullPathName() }).exitCode == 0
                               : stuck.getParentDirectory().setReadOnly (true);

    if (! locked)
        GTEST_SKIP() << "cannot make " << stuck.getFullPathName() << " undeletable here";

    auto removal = uninstall();
    const auto& plan = *removal.plan;

    if (asRoot)
        runProcess ({ "chattr", "-i", stuck.getFullPathName() });
    else
        stuck.getParentDirectory().setReadOnly (false);

    EXPECT_FALSE (plan.isComplete());
    EXPECT_TRUE (stuck.existsAsFile());
    EXPECT_TRUE (plan.reportLines().contains (stuck.getFullPathName() + " (" + describeOutcome (RemovalOutcome::failed) + ")"));
    EXPECT_TRUE (plan.reportMessage().contains ("run the uninstaller again"));

    // Everything else went, but what a later run needs stayed.
    EXPECT_FALSE (standalone.getChildFile ("Sorna.exe").exists());
    EXPECT_FALSE (plugins32.getChildFile ("Sorna.dll").exists());
    EXPECT_FALSE (sandbox.desktop().getChildFile ("Sorna.lnk").exists());
    EXPECT_EQ (Registry::getValue (RegistryRecords::presetTypeKeyPath(), "<gone>"), "<gone>");
    EXPECT_TRUE (standalone.getChildFile ("Uninstall.exe").existsAsFile());
    EXPECT_TRUE (savedProperties().existsAsFile());
    EXPECT_NE (Registry::getValue (RegistryRecords::uninstallKeyPath() + "DisplayName"), String());
    EXPECT_EQ (outcomeFor (plan, savedProperties().getFullPathName()), RemovalOutcome::keptForLaterRun);

    auto later = uninstall();
    EXPECT_TRUE (later.plan->isComplete());
    EXPECT_EQ (asText (fileTree (sandbox.home(), false)), asText (treeBefore));
    EXPECT_EQ (asText (registryRecords()), asText (registryBefore));
}

TEST_F (UninstallTest, AFolderThatCannotBeRemovedKeepsWhatALaterRunNeedsAndALaterRunFinishes)
{
    const auto uninstaller = standalone.getChildFile ("Uninstall.exe");
    const auto entry = RegistryRecords::uninstallKeyPath();
    const auto laterRun = RemovalOutcome::keptForLaterRun;

    // The content folder stays. The uninstaller runs as on Windows, where the program removes
    // its own file afterwards, and only after a complete removal.
    {
        LockedFolder held (contentFolder().getParentDirectory());

        if (! held.locked)
            GTEST_SKIP() << "cannot keep folders from being removed here";

        const auto removal = uninstall ({}, uninstaller);
        const auto lines = removal.plan->reportLines();
        EXPECT_FALSE (removal.plan->isComplete());
        EXPECT_TRUE (contentFolder().isDirectory());
        EXPECT_TRUE (contentFolder().findChildFiles (File::findFiles, true).isEmpty());
        EXPECT_TRUE (lines.contains (stayed (contentFolder().getFullPathName(), RemovalOutcome::failed))) << lines.joinIntoString ("\n");
        EXPECT_FALSE (standalone.getChildFile ("Sorna.exe").exists());

        // What finds the installation again stayed, and the report names all of it.
        EXPECT_TRUE (uninstaller.existsAsFile());
        EXPECT_TRUE (savedProperties().existsAsFile());
        EXPECT_NE (Registry::getValue (entry + "InstallLocation"), String());
        EXPECT_TRUE (lines.contains (stayed (uninstaller.getFullPathName(), laterRun)));
        EXPECT_TRUE (lines.contains (stayed (savedProperties().getFullPathName(), laterRun)));
        EXPECT_TRUE (lines.contains (stayed (entry, laterRun)));
    }

    auto later = uninstall();
    EXPECT_TRUE (later.plan->isComplete());
    EXPECT_EQ (asText (fileTree (sandbox.home(), false)), asText (treeBefore));
    EXPECT_EQ (asText (registryRecords()), asText (registryBefore));

    // The programs folder stays once the uninstaller in it is gone: the entry and install.xml,
    // which name that folder, stay for a later run (of any copy of the uninstaller).
    ASSERT_TRUE (installAgain());
    {
        LockedFolder held (standalone.getParentDirectory());
        ASSERT_TRUE (held.locked);

        const auto removal = uninstall();
        EXPECT_FALSE (removal.plan->isComplete());
        EXPECT_TRUE (standalone.isDirectory());
        EXPECT_FALSE (uninstaller.exists());
        EXPECT_FALSE (contentFolder().exists());
        EXPECT_TRUE (savedProperties().existsAsFile());
        EXPECT_EQ (outcomeFor (*removal.plan, entry), laterRun);
    }

    later = uninstall();
    EXPECT_TRUE (later.plan->isComplete());
    EXPECT_EQ (asText (fileTree (sandbox.home(), false)), asText (treeBefore));
    EXPECT_EQ (asText (registryRecords()), asText (registryBefore));
}

TEST_F (UninstallTest, TheAssociationLosesWhatTheInstallerWroteAndNothingThatOtherProgramsAdded)
{
    const String classes ("HKEY_CURRENT_USER\\Software\\Classes\\");
    const auto typeKey = RegistryRecords::presetTypeKeyPath();
    const std::pair<String, String> others[] = {
        { classes + ".srn\\OpenWithProgids\\Other.Preset", "" },
        { classes + ".srn\\Content Type", "application/x-sorna-preset" },
        { typeKey + "shell\\edit\\command\\", "\"/opt/Other/edit\" \"%1\"" }
    };

    for (auto& value : others)
        ASSERT_TRUE (Registry::setValue (value.first, value.second));

    const auto removal = uninstall();
    EXPECT_TRUE (removal.plan->isComplete());
    EXPECT_EQ (outcomeFor (*removal.plan, typeKey), RemovalOutcome::removed);

    for (auto& value : others)
        EXPECT_EQ (Registry::getValue (value.first, "<gone>"), value.second) << value.first;

    for (auto& ours : { RegistryRecords::presetExtensionKeyPath(), typeKey, typeKey + "DefaultIcon\\",
                        typeKey + "shell\\open\\command\\" })
        EXPECT_EQ (Registry::getValue (ours, "<gone>"), "<gone>") << ours;

    // The keys that held only what the installer wrote went with it.
    for (auto& line : registryRecords())
        EXPECT_FALSE (line.containsIgnoreCase ("DefaultIcon") || line.containsIgnoreCase ("shell\\open")) << line;
}

TEST_F (UninstallTest, LinksInTheContentFolderAreNotFollowed)
{
    // A link to a folder elsewhere that holds an empty folder; and a folder of installed meshes
    // moved elsewhere, a link in its place.
    const auto elsewhere = sandbox.folder ("Elsewhere");
    ASSERT_TRUE (elsewhere.getChildFile ("Empty").createDirectory());
    const auto linked = presets().getChildFile ("Linked");
    ASSERT_TRUE (elsewhere.createSymbolicLink (linked, false));

    const auto meshes = contentFolder().getChildFile ("mesh/df/basic");
    const auto moved = elsewhere.getChildFile ("basic");
    const auto meshCount = meshes.getNumberOfChildFiles (File::findFiles);
    ASSERT_GT (meshCount, 0);
    ASSERT_TRUE (meshes.moveFileTo (moved));
    ASSERT_TRUE (moved.createSymbolicLink (meshes, false));

    const auto removal = uninstall();
    EXPECT_TRUE (removal.plan->isComplete());
    EXPECT_TRUE (elsewhere.getChildFile ("Empty").isDirectory());
    EXPECT_EQ (moved.getNumberOfChildFiles (File::findFiles), meshCount);

    // Only the links stay in the content folder, with the folders that hold them, and the
    // report names them.
    juce::StringArray left;

    for (auto& f : contentFolder().findChildFiles (File::findFilesAndDirectories, true, "*", File::FollowSymlinks::no))
        left.add (f.getRelativePathFrom (contentFolder()));

    left.sort (false);
    EXPECT_EQ (left.joinIntoString (" "), String ("mesh mesh/df mesh/df/basic presets presets/Linked"));
    EXPECT_TRUE (linked.isSymbolicLink() && meshes.isSymbolicLink());

    const auto lines = removal.plan->reportLines();
    EXPECT_TRUE (lines.contains (stayed (linked.getFullPathName(), RemovalOutcome::keptOwn))) << lines.joinIntoString ("\n");
    EXPECT_TRUE (lines.contains (stayed (meshes.getFullPathName(), RemovalOutcome::keptOwn)));
}

TEST_F (UninstallTest, TheUninstallEntryGoesOnlyWhenItIsConfirmedToBeThisInstallations)
{
    const auto entry = RegistryRecords::uninstallKeyPath();

    // Without InstallLocation the entry names its folder by the uninstaller it starts: here
    // another folder's.
    ASSERT_TRUE (Registry::setValue (entry + "InstallLocation", {}));
    ASSERT_TRUE (Registry::setValue (entry + "UninstallString",
                                     sandbox.home().getChildFile ("Other/Uninstall.exe").getFullPathName().quoted()));
    auto removal = uninstall();
    EXPECT_EQ (outcomeFor (*removal.plan, entry), RemovalOutcome::keptForeign);
    EXPECT_NE (Registry::getValue (entry + "DisplayName"), String());

    // With no programs folder known (no install.xml, no InstallLocation), nothing can confirm
    // it: it stays, and the report says so.
    ASSERT_TRUE (installAgain());
    ASSERT_TRUE (Registry::setValue (entry + "InstallLocation", {}));
    ASSERT_TRUE (savedProperties().deleteFile());
    removal = uninstall();
    EXPECT_EQ (outcomeFor (*removal.plan, entry), RemovalOutcome::keptUnconfirmed);
    EXPECT_TRUE (removal.plan->reportLines().contains (stayed (entry, RemovalOutcome::keptUnconfirmed)));
    EXPECT_NE (Registry::getValue (entry + "DisplayName"), String());

    // An entry without InstallLocation that starts this programs folder's uninstaller is ours.
    ASSERT_TRUE (installAgain());
    ASSERT_TRUE (Registry::setValue (entry + "InstallLocation", {}));
    removal = uninstall();
    EXPECT_EQ (outcomeFor (*removal.plan, entry), RemovalOutcome::removed);
    EXPECT_EQ (Registry::getValue (entry + "DisplayName", "<gone>"), "<gone>");
}
