#include "targets/FolderChecks.h"
#include "product/Product.h"
#include "targets/FolderText.h"

FolderChecks::Outcome FolderChecks::createChosenFolders (const juce::StringArray& pluginFolderTexts,
                                                         const juce::String& standaloneFolderText)
{
    Outcome outcome;
    outcome.standaloneFolder = juce::File (FolderText::withPlatformSeparators (standaloneFolderText));
    outcome.standaloneExisted = outcome.standaloneFolder.exists();

    for (int i = 0; i < pluginFolderTexts.size(); ++i)
    {
        const auto& text = pluginFolderTexts[i];
        const juce::File folder (text);

        if (text.isEmpty() || folder.exists())
            continue;

        const auto created = folder.createDirectory();

        if (created.failed())
        {
            outcome.errorTitle = "Couldn't create plugin directory";
            outcome.errorMessage = created.getErrorMessage() + "\n";

            if (i > 0)
                outcome.errorMessage += "Please select a valid directory (or none at all)";

            return outcome;
        }
    }

    const auto created = outcome.standaloneFolder.createDirectory();

    if (created.failed())
    {
        outcome.errorTitle = "Could not create standalone install directory";
        outcome.errorMessage = created.getErrorMessage() + Product::administratorHint();
    }

    return outcome;
}

void FolderChecks::removeStandaloneFolderIfCreated (const Outcome& outcome)
{
    if (! outcome.standaloneExisted && outcome.standaloneFolder.exists())
        outcome.standaloneFolder.deleteRecursively();
}
