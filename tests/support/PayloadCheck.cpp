#include "tests/support/PayloadCheck.h"
#include "install/InstallOptions.h"
#include "install/PayloadArchive.h"
#include "targets/FolderText.h"

PayloadCheck::PayloadCheck() : PayloadCheck (PayloadArchive::embeddedData(), PayloadArchive::embeddedSize()) {}

PayloadCheck::PayloadCheck (const void* data, size_t size)
    : stream (data, size, false), zip (&stream, false)
{
}

juce::MemoryBlock PayloadCheck::entryBytes (const juce::String& entryName) const
{
    juce::MemoryBlock bytes;

    if (auto* entry = zip.getEntry (entryName))
        if (std::unique_ptr<juce::InputStream> in { const_cast<juce::ZipFile&> (zip).createStreamForEntry (*entry) })
            in->readIntoMemoryBlock (bytes);

    return bytes;
}

int PayloadCheck::countFilesBelow (const juce::String& folderEntry) const
{
    int count = 0;

    for (int i = 0; i < zip.getNumEntries(); ++i)
    {
        const auto& name = zip.getEntry (i)->filename;
        if (name.startsWith (folderEntry) && ! name.endsWithChar ('/'))
            ++count;
    }

    return count;
}

bool PayloadCheck::matches (const juce::File& installed, const juce::String& entryName) const
{
    juce::MemoryBlock installedBytes;
    return installed.loadFileAsData (installedBytes) && installedBytes == entryBytes (entryName)
           && zip.getEntry (entryName) != nullptr;
}

juce::StringArray PayloadCheck::differencesBelow (const juce::String& folderEntry, const juce::File& installedFolder) const
{
    juce::StringArray differences;

    for (int i = 0; i < zip.getNumEntries(); ++i)
    {
        const auto& name = zip.getEntry (i)->filename;

        if (name.startsWith (folderEntry) && ! name.endsWithChar ('/')
            && ! matches (installedFolder.getChildFile (name.substring (folderEntry.length())), name))
            differences.add (name);
    }

    return differences;
}

juce::StringArray PayloadCheck::damagedFilesIn (const juce::File& installedFolder, const juce::String& folderEntry,
                                                const juce::String& errorText) const
{
    juce::StringArray damaged;

    for (const auto& entry : juce::RangedDirectoryIterator (installedFolder, true, "*", juce::File::findFiles))
    {
        const auto& file = entry.getFile();

        if (errorText.contains (file.getFullPathName()))
            continue;

        const auto name = folderEntry + file.getRelativePathFrom (installedFolder).replaceCharacter ('\\', '/');

        if (! matches (file, name))
            damaged.add (name);
    }

    return damaged;
}

juce::StringArray PayloadCheck::damagedAfterJob (const InstallOptions& options, const juce::File& contentFolder,
                                                 const juce::String& errorText) const
{
    auto damaged = damagedFilesIn (contentFolder, "data/", errorText);

    juce::StringArray folders (options.standaloneFolder);

    for (const auto& row : options.pluginRows)
        folders.add (row.folder);

    for (const auto& text : folders)
    {
        const auto normalised = FolderText::normaliseFolder (text);

        if (normalised.length() < 2)
            continue;

        const juce::File folder (normalised);

        for (const auto& entry : juce::RangedDirectoryIterator (folder, false, "*", juce::File::findFiles))
        {
            const auto& file = entry.getFile();

            if (zip.getEntry (file.getFileName()) != nullptr && ! errorText.contains (file.getFullPathName())
                && ! matches (file, file.getFileName()))
                damaged.addIfNotAlreadyThere (folder.getFullPathName() + ": " + file.getFileName());
        }
    }

    return damaged;
}
