#pragma once

#include "uninstall/InstalledProduct.h"

#include <vector>

// How one step of the removal ended.
enum class RemovalOutcome
{
    pending,
    removed,
    notFound,
    keptChanged,        // a content file the user changed since it was installed
    keptOwn,            // a file the installer did not place
    keptForeign,        // a shortcut, association or entry that does not point to this installation
    keptUnconfirmed,    // an uninstall entry that cannot be told to be this installation's
    keptForLaterRun,    // what a later run needs, kept because something else could not be removed
    failed              // in use, or otherwise could not be removed
};

struct RemovalStep
{
    enum class Kind
    {
        file,               // removed when present
        contentFile,        // removed when its CRC-32 still matches the installed one
        shortcut,           // removed when it opens the installed program
        association,        // removed when it names the installed program
        uninstallEntry,     // removed when it describes this installation's folder
        folder,             // removed when empty
        found               // something that stays, met while looking through the folders
    };

    Kind kind = Kind::file;
    juce::File file;
    juce::uint32 checksum = 0;
    bool neededForLaterRun = false;     // the uninstaller, its entry and the remembered choices
    bool onlyIfEmptiedHere = false;     // a folder that is not the installer's own (plug-in folders)
    RemovalOutcome outcome = RemovalOutcome::pending;
    juce::String label;                 // what the report names: a path or a registry key
};

// The removal of one installation, worked out from what it left, then carried out step by
// step: plug-in files, the stand-alone folder's programs, the unchanged content files, the
// shortcut, the association, and every folder that this left empty. Last, one by one, goes
// what a later run needs to find the installation (the uninstaller with its folder, the
// uninstall entry, install.xml), each only while nothing else has stayed that should have
// gone, so that a run after a failure can still finish the job. Every step's outcome is kept
// for the report.
class RemovalPlan
{
public:
    explicit RemovalPlan (const InstalledProduct& product);

    // Carries out the steps. leftToCaller is a file that the caller removes itself, later (the
    // running uninstaller on Windows); its step is not attempted, and its folder not yet.
    void carryOut (const juce::File& leftToCaller = {});

    // Removes the plan's folders that are empty now, e.g. once the caller removed its file. A
    // folder that holds what a later run needs stays while that is there.
    void removeEmptyFolders();

    // Nothing that should go is left; files kept as the user's do not count.
    bool isComplete() const;

    // Every path that stayed with its reason, then what could not be identified.
    juce::StringArray reportLines() const;

    // The text of the final report under its title: empty when everything went; otherwise what
    // stayed, at most maxLines of it, and a word on running again when something was in use.
    juce::String reportMessage (int maxLines = 30) const;

    const std::vector<RemovalStep>& getSteps() const   { return steps; }

private:
    InstalledProduct product;
    std::vector<RemovalStep> steps;

    // The new step, or nothing when the plan has one for that file already.
    RemovalStep* add (RemovalStep::Kind kind, const juce::File& file, juce::uint32 checksum = 0);
    void sortFolders();
    // Every path that stayed, with its reason.
    juce::StringArray stayedLines() const;
    void removeEmptyParents (const juce::File& removedFolder);
    void addFolderWithParents (const juce::File& folder, const juce::File& top);
    void carryOut (RemovalStep& step);
    void noteWhatStays (const juce::File& folder, bool recursive);
    bool removedSomethingIn (const juce::File& folder) const;
    bool holdsWhatALaterRunNeeds (const juce::File& folder) const;
    bool isKnown (const juce::File& file, bool countFolders) const;
};

juce::String describeOutcome (RemovalOutcome outcome);
