#include "install/InstallJob.h"
#include "product/Product.h"
#include "install/InstallProperties.h"
#include "install/PayloadArchive.h"
#include "install/RegistryRecords.h"
#include "install/RememberedChoices.h"
#include "platform/WholeFile.h"
#include "platform/ShellLink.h"
#include "platform/SpecialFolders.h"
#include "targets/FolderText.h"
#include "targets/PluginFormat.h"

namespace
{
    juce::String separator()  { return juce::File::getSeparatorString(); }

    // The recursive folder copy; stops at the first failure. Every file arrives whole or not at
    // all. The sources are unpacked files, which nothing changes before they are cleaned up, so
    // they may be linked rather than copied.
    bool copyFolderWhole (const juce::File& source, const juce::File& destination)
    {
        if (! source.isDirectory() || destination.createDirectory().failed())
            return false;

        for (const auto& file : source.findChildFiles (juce::File::findFiles, false))
            if (! WholeFile::copyOrLink (file, destination.getChildFile (file.getFileName())))
                return false;

        for (const auto& folder : source.findChildFiles (juce::File::findDirectories, false))
            if (! copyFolderWhole (folder, destination.getChildFile (folder.getFileName())))
                return false;

        return true;
    }

    // A move is a rename on one volume; across volumes JUCE falls back to a copy that a full
    // disk can cut short, so the result is measured and a cut-off file is not left in place.
    // Only programs are moved: they arrive runnable by every user (on Windows their access
    // rules, inherited from the temporary folder, already say so).
    bool moveProgramWhole (const juce::File& source, const juce::File& destination)
    {
        if (! source.existsAsFile() || destination.isDirectory())
            return false;

        const auto size = source.getSize();

        if (! source.moveFileTo (destination))
            return false;

        if (destination.getSize() == size)
        {
            destination.setExecutePermission (true);
            return true;
        }

        destination.deleteFile();
        return false;
    }
}

using FolderText::normaliseFolder;
using FolderText::withPlatformSeparators;

InstallFolders InstallFolders::fromSystem()
{
    return { SpecialFolders::documents(), SpecialFolders::temporary(), SpecialFolders::desktop() };
}

InstallJob::InstallJob (const InstallOptions& o, InstallProperties& p, juce::String& e,
                        InstallProgress& pr, InstallFolders f)
    : options (o), properties (p), errorText (e), progress (pr), folders (std::move (f)),
      payloadData (PayloadArchive::embeddedData()), payloadSize (PayloadArchive::embeddedSize())
{
}

void InstallJob::setPayload (const void* data, size_t size)
{
    payloadData = data;
    payloadSize = size;
}

juce::File InstallJob::getTemporaryFolder() const
{
    return temporary != nullptr ? temporary->getFile() : juce::File();
}

juce::String InstallJob::getContentFolder() const
{
    return withPlatformSeparators (folders.documents.getFullPathName() + "/" + Product::maker + "/" + Product::name + "/");
}

// A stopped run's unpacked files are of no use to a later one, which unpacks into a new folder.
bool InstallJob::stopRequested()
{
    if (! progress.shouldStop())
        return false;

    temporary->removeAll();
    return true;
}

bool InstallJob::run()
{
    properties.setSetting (RememberedChoices::Names::installedVersion, Product::versionString());

    const auto standaloneFolder = normaliseFolder (options.standaloneFolder);
    const auto contentFolder = getContentFolder();

    RegistryRecords::writeUninstallEntry (standaloneFolder);

    PayloadArchive archive (payloadData, payloadSize);
    temporary = std::make_unique<PrivateFolder> (folders.temporary, Product::name);
    const auto temporaryFolder = temporary->getFile();

    properties.setSetting (RememberedChoices::Names::contentFolder, contentFolder);
    properties.setSetting (RememberedChoices::Names::standaloneFolder, standaloneFolder);

    progress.setProgress (0.0);
    progress.setStatusMessage ("Decompressing temporary files...");
    const auto unpacked = temporary->getResult().wasOk() ? archive.unpackTo (temporaryFolder) : temporary->getResult();

    if (unpacked.failed())
        errorText << "Could not decompress files to temporary directory: " << unpacked.getErrorMessage() << "\n";

    progress.setProgress (0.05);
    progress.setProgress (0.14);
    progress.setProgress (0.15);
    progress.setProgress (0.16);

    if (stopRequested())
        return false;

    progress.setProgress (0.4);
    progress.setStatusMessage ("Creating content directory");
    const auto data = temporaryFolder.getChildFile (Product::contentFolderName);
    const auto created = juce::File (contentFolder).createDirectory();

    if (created.failed())
        errorText << "Failed to create subfolder in documents directory: " << created.getErrorMessage() << "\n";

    progress.setProgress (0.5);

    if (stopRequested())
        return false;

    copyContent (data, contentFolder);

    progress.setProgress (0.75);

    if (stopRequested())
        return false;

    progress.setProgress (0.8);

    const auto needs64BitLibrary = installPlugins (temporaryFolder);

    if (standaloneFolder.length() >= 2)
        installStandalone (temporaryFolder, standaloneFolder, needs64BitLibrary);

    if (stopRequested())
        return false;

    progress.setStatusMessage ("Cleaning up files...");

    if (errorText.isNotEmpty())
        errorText << Product::administratorHint();
    else
        temporary->removeAll();

    progress.setProgress (0.99);
    properties.saveProperties (errorText);
    return true;
}

void InstallJob::copyContent (const juce::File& data, const juce::String& contentFolder)
{
    struct ContentFolder
    {
        const char* name;
        const char* status;
        const char* failure;
        double progressAfter;
    };

    const ContentFolder contents[] = {
        { Product::presetsFolderName,   "Moving presets",                                "Failed to move presets from ",       0.7 },
        { Product::meshFolderName,      "Moving existing user meshes to user directory", "Failed to move mesh presets from ",  -1.0 },
        { Product::tutorialsFolderName, "Moving tutorial files",                         "Failed to copy tutorial files from ", -1.0 },
    };

    for (auto& content : contents)
    {
        progress.setStatusMessage (content.status);
        const auto source = data.getChildFile (content.name);
        const juce::File destination (contentFolder + content.name);

        if (! copyFolderWhole (source, destination))
            errorText << content.failure << source.getFullPathName() << " to " << destination.getFullPathName() << ".\n";

        if (content.progressAfter > 0.0)
            progress.setProgress (content.progressAfter);
    }
}

bool InstallJob::installPlugins (const juce::File& temporaryFolder)
{
    bool needs64BitLibrary = false;

    for (int i = 0; i < options.pluginRows.size(); ++i)
    {
        const auto& row = options.pluginRows.getReference (i);
        const auto folder = normaliseFolder (row.folder);

        if (! is32BitFormat (row.format))
            needs64BitLibrary = true;

        if (folder.length() < 3)
            continue;

        properties.setSetting (RememberedChoices::Names::pluginFolder (i), folder);
        properties.setSetting (RememberedChoices::Names::format (i), getFormatKey (row.format));

        progress.setStatusMessage ("Copying plugin");
        copyFile (getPluginFile (temporaryFolder, row.format), getPluginFile (juce::File (folder), row.format));
    }

    return needs64BitLibrary;
}

void InstallJob::installStandalone (const juce::File& temporaryFolder, const juce::String& folder, bool needs64BitLibrary)
{
    const auto executable = juce::File (folder + Product::executableName);

    progress.setStatusMessage ("Moving executable");
    const auto executableSource = temporaryFolder.getChildFile (Product::executableName);

    if (! moveProgramWhole (executableSource, executable))
        errorText << "Failed to move executable from " << executableSource.getFullPathName()
                  << " to " << executable.getFullPathName() << ".\n";

    progress.setProgress (0.85);
    progress.setStatusMessage ("Copying dsp library");
    copyFile (temporaryFolder.getChildFile (Product::library32Name), juce::File (folder + Product::library32Name));

    if (needs64BitLibrary)
    {
        progress.setStatusMessage ("Copying dsp library (64 bit)");
        copyFile (temporaryFolder.getChildFile (Product::library64Name), juce::File (folder + Product::library64Name));
    }

    progress.setStatusMessage ("Copying uninstaller");
    const auto uninstallerSource = temporaryFolder.getChildFile (Product::uninstallerName);
    const auto uninstaller = juce::File (folder + Product::uninstallerName);

    if (! moveProgramWhole (uninstallerSource, uninstaller))
        errorText << "Failed to move " << uninstallerSource.getFullPathName()
                  << " to " << uninstaller.getFullPathName() << ".\n";

    progress.setProgress (0.9);
    progress.setStatusMessage ("Associating files");
    RegistryRecords::registerPresetFileType (executable);

    progress.setProgress (0.95);

    if (options.createDesktopShortcut)
    {
        const auto target = executable.getFullPathName();
        prepareThreadForShellLink();
        createShellLink (target,
                         folders.desktop.getFullPathName() + separator() + Product::name + ".lnk",
                         "Spectral synthesizer", folder, target, errorText);
        progress.setProgress (0.96);
    }
}

void InstallJob::copyFile (const juce::File& source, const juce::File& destination)
{
    // JUCE's own copy deletes whatever is at the destination first (an empty folder included)
    // and can report success for a file that a full disk cut short.
    if (! WholeFile::copy (source, destination))
        errorText << "Failed to copy " << source.getFullPathName() << " to " << destination.getFullPathName() << ".\n";
}
