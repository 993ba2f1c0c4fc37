#include "uninstall/RemovalPlan.h"
#include "install/RegistryRecords.h"
#include "platform/Registry.h"
#include "platform/ShellLink.h"
#include "platform/SpecialFolders.h"
#include "product/Product.h"
#include "targets/PluginFormat.h"

namespace
{
    using Kind = RemovalStep::Kind;

    // Folders that hold far more than this product, whatever the remembered choices say.
    bool isProtectedFolder (const juce::File& folder)
    {
        if (folder.getParentDirectory() == folder)
            return true;

        using Location = juce::File::SpecialLocationType;

        for (auto& special : { SpecialFolders::documents(), SpecialFolders::desktop(), SpecialFolders::applicationData(),
                               SpecialFolders::programFiles(), SpecialFolders::temporary() })
            if (folder == special)
                return true;

        for (auto location : { Location::userHomeDirectory, Location::commonApplicationDataDirectory,
                               Location::commonDocumentsDirectory, Location::globalApplicationsDirectory,
                              #if JUCE_WINDOWS
                               Location::globalApplicationsDirectoryX86, Location::windowsSystemDirectory,
                              #endif
                               Location::userMusicDirectory, Location::userPicturesDirectory })
            if (folder == juce::File::getSpecialLocation (location))
                return true;

        // The shared folder of every program's plug-ins and libraries.
        return folder.getFileName().equalsIgnoreCase ("Common Files");
    }

    juce::File fromPath (const juce::String& path)
    {
        return path.isNotEmpty() && ! path.startsWithChar ('~') && juce::File::isAbsolutePath (path) ? juce::File (path)
                                                                                                      : juce::File();
    }

    // The installer makes no links below its content folder: a path that passes one (the
    // file itself included) leads to something that is not the installer's, maybe far outside.
    bool passesALink (const juce::File& file, const juce::File& top)
    {
        for (auto f = file; f.isAChildOf (top); f = f.getParentDirectory())
            if (f.isSymbolicLink())
                return true;

        return false;
    }
}

juce::String describeOutcome (RemovalOutcome outcome)
{
    switch (outcome)
    {
        case RemovalOutcome::keptChanged:       return "kept: changed since it was installed";
        case RemovalOutcome::keptOwn:           return "kept: not placed by the installer";
        case RemovalOutcome::keptForeign:       return "kept: it does not point to this installation";
        case RemovalOutcome::keptUnconfirmed:   return "kept: it cannot be confirmed to be this installation's";
        case RemovalOutcome::keptForLaterRun:   return "kept until the rest is removed: run the uninstaller again";
        case RemovalOutcome::failed:            return "in use: could not be removed";
        case RemovalOutcome::removed:           return "removed";
        case RemovalOutcome::notFound:          return "not found";
        case RemovalOutcome::pending:           break;
    }

    return "not yet removed";
}

RemovalPlan::RemovalPlan (const InstalledProduct& p) : product (p)
{
    for (auto& row : product.pluginRows)
    {
        const auto pluginFile = getPluginFile (row.folder, row.format);

        if (pluginFile != row.folder)
        {
            add (Kind::file, pluginFile);

            if (auto* folder = add (Kind::folder, row.folder))
                folder->onlyIfEmptiedHere = true;
        }
    }

    const auto standalone = product.standaloneFolder;
    const bool standaloneKnown = standalone != juce::File();

    if (standaloneKnown)
        for (auto* name : { Product::executableName, Product::library32Name, Product::library64Name })
            add (Kind::file, standalone.getChildFile (name));

    for (auto& content : product.contentFiles)
        add (Kind::contentFile, product.contentFolder.getChildFile (content.path), content.checksum);

    add (Kind::shortcut, product.desktop.getChildFile (juce::String (Product::name) + ".lnk"));
    add (Kind::association, {})->label = RegistryRecords::presetTypeKeyPath();

    // What a later run needs to finish the job.
    if (standaloneKnown)
        if (auto* uninstaller = add (Kind::file, standalone.getChildFile (Product::uninstallerName)))
            uninstaller->neededForLaterRun = true;

    auto* entry = add (Kind::uninstallEntry, {});
    entry->label = RegistryRecords::uninstallKeyPath();
    entry->neededForLaterRun = true;

    if (auto* settings = add (Kind::file, product.propertiesFile))
        settings->neededForLaterRun = true;

    for (auto& content : product.contentFiles)
        addFolderWithParents (product.contentFolder.getChildFile (content.path).getParentDirectory(), product.contentFolder);

    addFolderWithParents (product.contentFolder, product.contentFolder);
    addFolderWithParents (product.contentFolder.getParentDirectory(), product.contentFolder.getParentDirectory());

    // The product's own folder, and the maker's folder around it.
    auto addWithMakersFolder = [this] (const juce::File& folder)
    {
        add (Kind::folder, folder);

        if (folder.getParentDirectory().getFileName() == Product::maker)
            add (Kind::folder, folder.getParentDirectory());
    };

    if (standaloneKnown)
        addWithMakersFolder (standalone);

    addWithMakersFolder (product.propertiesFile.getParentDirectory());

    sortFolders();
}

// Folders after everything else, inner ones first, so that emptying one can empty the one
// around it.
void RemovalPlan::sortFolders()
{
    std::stable_sort (steps.begin(), steps.end(), [] (const RemovalStep& a, const RemovalStep& b)
    {
        const bool aFolder = a.kind == Kind::folder, bFolder = b.kind == Kind::folder;

        if (aFolder != bFolder)
            return bFolder;

        return aFolder && a.file.getFullPathName().length() > b.file.getFullPathName().length();
    });
}

RemovalStep* RemovalPlan::add (Kind kind, const juce::File& file, juce::uint32 checksum)
{
    if (kind != Kind::association && kind != Kind::uninstallEntry)
    {
        if (file == juce::File())
            return nullptr;

        for (auto& step : steps)
            if (step.file == file && (step.kind == Kind::folder) == (kind == Kind::folder))
                return nullptr;
    }

    RemovalStep step;
    step.kind = kind;
    step.file = file;
    step.checksum = checksum;
    step.label = file.getFullPathName();
    steps.push_back (step);
    return &steps.back();
}

void RemovalPlan::addFolderWithParents (const juce::File& folder, const juce::File& top)
{
    for (auto f = folder; f == top || f.isAChildOf (top); f = f.getParentDirectory())
    {
        add (Kind::folder, f);

        if (f == top)
            break;
    }
}

void RemovalPlan::carryOut (const juce::File& leftToCaller)
{
    for (auto& step : steps)
        if (step.kind != Kind::folder && step.kind != Kind::found && ! step.neededForLaterRun)
            carryOut (step);

    noteWhatStays (product.contentFolder, true);

    // The payload holds empty folders too, which no content file names: every folder of the
    // content folder is the installer's, and goes once nothing is left in it. A link is not
    // followed, and stays as the user's.
    if (product.contentFolder.isDirectory())
        for (const auto& folder : product.contentFolder.findChildFiles (juce::File::findDirectories, true, "*",
                                                                        juce::File::FollowSymlinks::no))
            if (! folder.isSymbolicLink())
                add (Kind::folder, folder);

    sortFolders();

    if (product.standaloneFolder != juce::File())
        noteWhatStays (product.standaloneFolder, false);

    removeEmptyFolders();

    // A folder that cannot be removed shows only now, so what a later run needs goes after the
    // folders, and each one's folders go before the next: a programs folder that stays keeps
    // the uninstall entry and install.xml, which name it.
    for (auto& step : steps)
    {
        if (! step.neededForLaterRun)
            continue;

        if (! isComplete())
            step.outcome = RemovalOutcome::keptForLaterRun;
        else if (leftToCaller == juce::File() || step.file != leftToCaller)
            carryOut (step);

        removeEmptyFolders();
    }
}

void RemovalPlan::carryOut (RemovalStep& step)
{
    auto removeFile = [&step]
    {
        step.outcome = step.file.deleteFile() ? RemovalOutcome::removed : RemovalOutcome::failed;
    };

    const auto executable = product.executable();

    if (step.kind == Kind::contentFile && passesALink (step.file, product.contentFolder))
    {
        step.outcome = RemovalOutcome::keptOwn;
        return;
    }

    switch (step.kind)
    {
        case Kind::file:
        case Kind::contentFile:
        case Kind::shortcut:
        {
            if (! step.file.exists())
            {
                step.outcome = RemovalOutcome::notFound;
                return;
            }

            if (step.file.isDirectory())
            {
                step.outcome = RemovalOutcome::keptOwn;
                return;
            }

            if (step.kind == Kind::contentFile)
            {
                juce::uint32 checksum = 0;

                // A file that cannot even be read is held by another program.
                if (! ContentList::checksumOf (step.file, checksum))
                {
                    step.outcome = RemovalOutcome::failed;
                    return;
                }

                if (checksum != step.checksum)
                {
                    step.outcome = RemovalOutcome::keptChanged;
                    return;
                }
            }

            if (step.kind == Kind::shortcut
                 && (executable == juce::File() || fromPath (getShellLinkTarget (step.file)) != executable))
            {
                step.outcome = RemovalOutcome::keptForeign;
                return;
            }

            removeFile();
            return;
        }

        case Kind::association:
        {
            const auto typeName = RegistryRecords::presetTypeName();
            const auto extensionType = Registry::getValue (RegistryRecords::presetExtensionKeyPath());
            const auto program = RegistryRecords::registeredPresetProgram();

            if (program == juce::File() && extensionType != typeName
                 && Registry::getValue (RegistryRecords::presetTypeKeyPath()).isEmpty())
            {
                step.outcome = RemovalOutcome::notFound;
                return;
            }

            if (executable == juce::File() || program != executable)
            {
                step.outcome = RemovalOutcome::keptForeign;
                return;
            }

            step.outcome = RegistryRecords::unregisterPresetFileType (executable) ? RemovalOutcome::removed
                                                                                  : RemovalOutcome::failed;
            return;
        }

        case Kind::uninstallEntry:
        {
            const auto key = RegistryRecords::uninstallKeyPath();
            const auto location = Registry::getValue (key + "InstallLocation");

            if (location.isEmpty() && Registry::getValue (key + "DisplayName").isEmpty()
                 && Registry::getValue (key + "UninstallString").isEmpty())
            {
                step.outcome = RemovalOutcome::notFound;
                return;
            }

            // The entry names its folder in InstallLocation, or else through the uninstaller it
            // starts. Only an entry of this programs folder goes: one that a later installation
            // into another folder wrote belongs to that one, and one that names no folder, or
            // that is met without knowing the programs folder, cannot be told apart from it.
            auto entryFolder = fromPath (location);
            const auto entryUninstaller = RegistryRecords::registeredUninstaller();

            if (entryFolder == juce::File() && entryUninstaller.getFileName() == Product::uninstallerName)
                entryFolder = entryUninstaller.getParentDirectory();

            if (entryFolder == juce::File() || product.standaloneFolder == juce::File())
            {
                step.outcome = RemovalOutcome::keptUnconfirmed;
                return;
            }

            if (entryFolder != product.standaloneFolder)
            {
                step.outcome = RemovalOutcome::keptForeign;
                return;
            }

            step.outcome = Registry::deleteKey (key) ? RemovalOutcome::removed : RemovalOutcome::failed;
            return;
        }

        case Kind::folder:
        case Kind::found:
            break;
    }
}

void RemovalPlan::noteWhatStays (const juce::File& folder, bool recursive)
{
    if (! folder.isDirectory())
        return;

    const auto firstFolder = std::find_if (steps.begin(), steps.end(), [] (const RemovalStep& s) { return s.kind == Kind::folder; });
    std::vector<RemovalStep> found;

    // Links are not followed: what they lead to is not the installer's. A link is named itself,
    // a real folder of a recursive search by what it holds.
    for (const auto& child : folder.findChildFiles (juce::File::findFilesAndDirectories, recursive, "*",
                                                    juce::File::FollowSymlinks::no))
    {
        const bool link = child.isSymbolicLink();

        if ((recursive && child.isDirectory() && ! link) || isKnown (child, ! link))
            continue;

        RemovalStep step;
        step.kind = Kind::found;
        step.file = child;
        step.label = child.getFullPathName();
        step.outcome = RemovalOutcome::keptOwn;
        found.push_back (step);
    }

    steps.insert (firstFolder, found.begin(), found.end());
}

void RemovalPlan::removeEmptyFolders()
{
    for (auto& step : steps)
    {
        if (step.kind != Kind::folder || step.outcome == RemovalOutcome::removed || holdsWhatALaterRunNeeds (step.file))
            continue;

        if (! step.file.isDirectory())
            step.outcome = RemovalOutcome::notFound;
        else if (step.file.isSymbolicLink() || isProtectedFolder (step.file)
                  || (step.onlyIfEmptiedHere && ! removedSomethingIn (step.file))
                  || step.file.getNumberOfChildFiles (juce::File::findFilesAndDirectories) > 0)
            step.outcome = RemovalOutcome::keptOwn;
        else
            step.outcome = step.file.deleteFile() ? RemovalOutcome::removed : RemovalOutcome::failed;

        if (step.outcome == RemovalOutcome::removed)
            removeEmptyParents (step.file);
    }
}

// The installer's screen creates every missing folder of the paths the user chose, so the
// folders around a removed one that held nothing else go too; the system's and the user's
// main folders never do.
void RemovalPlan::removeEmptyParents (const juce::File& removedFolder)
{
    for (auto parent = removedFolder.getParentDirectory();
         parent.isDirectory() && ! parent.isSymbolicLink() && ! isProtectedFolder (parent)
            && parent.getNumberOfChildFiles (juce::File::findFilesAndDirectories) == 0;
         parent = parent.getParentDirectory())
    {
        if (! parent.deleteFile())
            break;
    }
}

bool RemovalPlan::removedSomethingIn (const juce::File& folder) const
{
    for (auto& step : steps)
        if (step.kind != Kind::folder && step.outcome == RemovalOutcome::removed && step.file.getParentDirectory() == folder)
            return true;

    return false;
}

bool RemovalPlan::holdsWhatALaterRunNeeds (const juce::File& folder) const
{
    for (auto& step : steps)
        if (step.neededForLaterRun && step.file.isAChildOf (folder) && step.file.exists())
            return true;

    return false;
}

bool RemovalPlan::isKnown (const juce::File& file, bool countFolders) const
{
    for (auto& step : steps)
        if (step.file == file && (countFolders || step.kind != Kind::folder))
            return true;

    return false;
}

bool RemovalPlan::isComplete() const
{
    for (auto& step : steps)
        if (step.outcome == RemovalOutcome::failed)
            return false;

    return true;
}

juce::StringArray RemovalPlan::stayedLines() const
{
    juce::StringArray lines;

    for (auto& step : steps)
    {
        switch (step.outcome)
        {
            case RemovalOutcome::keptChanged:
            case RemovalOutcome::keptOwn:
            case RemovalOutcome::keptForeign:
            case RemovalOutcome::keptUnconfirmed:
            case RemovalOutcome::keptForLaterRun:
            case RemovalOutcome::failed:
                // A folder that stays is named by what it holds.
                if (step.kind != Kind::folder || step.outcome == RemovalOutcome::failed)
                    lines.add (step.label + " (" + describeOutcome (step.outcome) + ")");
                break;

            case RemovalOutcome::pending:
            case RemovalOutcome::removed:
            case RemovalOutcome::notFound:
                break;
        }
    }

    return lines;
}

juce::StringArray RemovalPlan::reportLines() const
{
    auto lines = stayedLines();
    lines.addArray (product.unknown);
    return lines;
}

juce::String RemovalPlan::reportMessage (int maxLines) const
{
    const auto lines = stayedLines();
    juce::StringArray parts;

    if (! isComplete())
        parts.add ("Some items are in use and could not be removed. Close the programs that use them, "
                   "then run the uninstaller again to finish.");

    if (! lines.isEmpty())
        parts.add ("These stayed:\n" + lines.joinIntoString ("\n", 0, maxLines)
                   + (lines.size() > maxLines ? "\n... and " + juce::String (lines.size() - maxLines) + " more." : juce::String()));

    if (! product.unknown.isEmpty())
        parts.add (product.unknown.joinIntoString ("\n"));

    return parts.joinIntoString ("\n\n");
}
