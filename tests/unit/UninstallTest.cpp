#include "install/RegistryRecords.h"
#include "platform/Registry.h"
#include "platform/ShellLink.h"
#include "platform/SpecialFolders.h"
#include "tests/support/JobFixture.h"
#include "tests/support/Processes.h"
#include "uninstall/RemovalPlan.h"

#include <set>
#include <unistd.h>

// The uninstaller's logic after a real installation into a sandbox: what it removes, what it
// keeps, and that a second run changes nothing.
namespace
{
    using juce::File;
    using juce::String;

    // Every file and folder below root, as relative paths, the registry stand-in left out.
    std::set<String> fileTree (const File& root)
    {
        std::set<String> tree;

        for (const auto& f : root.findChildFiles (File::findFilesAndDirectories | File::ignoreHiddenFiles, true))
            if (f != Registry::standInFile())
                tree.insert (f.getRelativePathFrom (root) + (f.isDirectory() ? "/" : ""));

        return tree;
    }

    // The stand-in's keys and values, one line each, without the header.
    std::set<String> registryRecords()
    {
        juce::MemoryBlock data;
        std::set<String> records;

        if (! Registry::standInFile().loadFileAsData (data) || data.getSize() < 2)
            return records;

        juce::Array<juce::CharPointer_UTF16::CharType> units;
        const auto* bytes = static_cast<const juce::uint8*> (data.getData());

        for (size_t i = 2; i + 1 < data.getSize(); i += 2)
            units.add ((juce::CharPointer_UTF16::CharType) (bytes[i] | (bytes[i + 1] << 8)));

        units.add (0);

        for (auto& line : juce::StringArray::fromLines (String (juce::CharPointer_UTF16 (units.getRawDataPointer()))))
            if (line.trim().isNotEmpty() && line != "Windows Registry Editor Version 5.00")
                records.insert (line);

        return records;
    }

    String describe (const std::set<String>& items)
    {
        String text;

        for (auto& item : items)
            text << item << "\n";

        return text;
    }

    struct Removal
    {
        std::unique_ptr<RemovalPlan> plan;
        InstalledProduct product;
    };

    // Reads the remembered choices afresh, as the uninstaller does when it starts.
    Removal uninstall (const File& runningUninstaller = {})
    {
        InstallProperties properties (SpecialFolders::applicationData());
        properties.loadProperties();

        Removal removal;
        removal.product = InstalledProduct::find (properties, ContentList::embedded(), runningUninstaller);
        removal.plan = std::make_unique<RemovalPlan> (removal.product);
        removal.plan->carryOut();
        return removal;
    }

    RemovalOutcome outcomeFor (const RemovalPlan& plan, const String& label)
    {
        for (auto& step : plan.getSteps())
            if (step.label == label)
                return step.outcome;

        return RemovalOutcome::pending;
    }
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

        treeBefore = fileTree (sandbox.home());
        registryBefore = registryRecords();

        for (auto& f : { plugins32, plugins3, standalone })
            f.createDirectory();

        ASSERT_TRUE (runJob());
        ASSERT_EQ (errorText, String());
    }

    File presets() const  { return contentFolder().getChildFile ("presets"); }

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

    const auto after = fileTree (sandbox.home());
    EXPECT_EQ (describe (after), describe (expected));
    EXPECT_EQ (describe (registryRecords()), describe (registryBefore));
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
    EXPECT_EQ (describe (fileTree (sandbox.home())), describe (after));
    EXPECT_EQ (describe (registryRecords()), describe (registryBefore));
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
    const auto emptyTree = fileTree (empty.home());
    removal = uninstall();
    EXPECT_TRUE (removal.plan->isComplete());
    EXPECT_EQ (describe (fileTree (empty.home())), describe (emptyTree));
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
    EXPECT_EQ (describe (fileTree (sandbox.home())), describe (treeBefore));
    EXPECT_EQ (describe (registryRecords()), describe (registryBefore));
}
