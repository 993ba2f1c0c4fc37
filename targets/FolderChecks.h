#pragma once

#include <juce_core/juce_core.h>

// The checks before an installation starts: every chosen folder that does not exist yet is
// created, and the first one that cannot be stops the installation with a warning.
namespace FolderChecks
{
    struct Outcome
    {
        juce::String errorTitle, errorMessage;    // both empty when every folder is there
        juce::File standaloneFolder;
        bool standaloneExisted = false;           // before the checks created anything

        bool failed() const  { return errorTitle.isNotEmpty(); }
    };

    // Creates the plug-in folders in order (empty texts are skipped), stopping at the first
    // failure, then the stand-alone folder; an empty stand-alone text always fails.
    Outcome createChosenFolders (const juce::StringArray& pluginFolderTexts, const juce::String& standaloneFolderText);

    // After a cancelled installation: removes the stand-alone folder if these checks created it.
    void removeStandaloneFolderIfCreated (const Outcome& outcome);
}
