#include "tests/support/PayloadCheck.h"
#include "install/InstallOptions.h"
#include "install/PayloadArchive.h"
#include "targets/FolderText.h"

PayloadCheck::PayloadCheck() : PayloadCheck (PayloadArchive::embeddedData(), PayloadArchive::embeddedSize()) {}

PayloadCheck::PayloadCheck (const void* data, size_t size)
    : directory (data, size)
{
}

const ZipDirectory::Entry* PayloadCheck::find (const juce::String& entryName) const
{
    for (auto& entry : directory.getEntries())
        if (entry.filename == entryName)
            return &entry;

    return nullptr;
}

juce::MemoryBlock PayloadCheck::entryBytes (const juce::String& entryName) const
{
    juce::MemoryBlock bytes;

    if (auto* entry = find (entryName))
        if (auto in = directory.createStream (*entry))
            in->readIntoMemoryBlock (bytes);

    return bytes;
}

int PayloadCheck::countFilesBelow (const juce::String& folderEntry) const
{
    int count = 0;

    for (auto& entry : directory.getEntries())
    {
        const auto& name = entry.filename;
        if (name.startsWith (folderEntry) && ! name.endsWithChar ('/'))
            ++count;
    }

    return count;
}

bool PayloadCheck::matches (const juce::File& installed, const juce::String& entryName) const
{
    juce::MemoryBlock installedBytes;
    return installed.loadFileAsData (installedBytes) && installedBytes == entryBytes (entryName)
           && find (entryName) != nullptr;
}

juce::StringArray PayloadCheck::differencesBelow (const juce::String& folderEntry, const juce::File& installedFolder) const
{
    juce::StringArray differences;

    for (auto& entry : directory.getEntries())
    {
        const auto& name = entry.filename;

        if (name.startsWith (folderEntry) && ! name.endsWithChar ('/')
            && ! matches (installedFolder.getChildFile (name.substring (folderEntry.length())), name))
            differences.add (name);
    }

    return differences;
}

juce::StringArray PayloadCheck::missingFoldersBelow (const juce::String& folderEntry, const juce::File& installedFolder) const
{
    juce::StringArray missing;

    for (auto& entry : directory.getEntries())
    {
        const auto& name = entry.filename;

        if (name.startsWith (folderEntry) && name.endsWithChar ('/') && name != folderEntry
            && ! installedFolder.getChildFile (name.substring (folderEntry.length())).isDirectory())
            missing.add (name);
    }

    return missing;
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

juce::Array<PayloadCheck::Installed> PayloadCheck::installedAfterJob (const InstallOptions& options,
                                                                     const juce::File& contentFolder) const
{
    juce::Array<Installed> installed;

    for (const auto& entry : juce::RangedDirectoryIterator (contentFolder, true, "*", juce::File::findFiles))
        installed.add ({ entry.getFile(), "data/" + entry.getFile().getRelativePathFrom (contentFolder).replaceCharacter ('\\', '/') });

    juce::StringArray folders (options.standaloneFolder);

    for (const auto& row : options.pluginRows)
        folders.add (row.folder);

    for (const auto& text : folders)
    {
        const auto normalised = FolderText::normaliseFolder (text);

        if (normalised.length() < 2)
            continue;

        for (const auto& entry : juce::RangedDirectoryIterator (juce::File (normalised), false, "*", juce::File::findFiles))
            if (find (entry.getFile().getFileName()) != nullptr)
                installed.add ({ entry.getFile(), entry.getFile().getFileName() });
    }

    return installed;
}

juce::StringArray PayloadCheck::damagedAfterJob (const InstallOptions& options, const juce::File& contentFolder,
                                                 const juce::String& errorText) const
{
    juce::StringArray damaged;

    for (const auto& [file, name] : installedAfterJob (options, contentFolder))
    {
        if (errorText.contains (file.getFullPathName()) || matches (file, name))
            continue;

        if (name.startsWith ("data/"))
            damaged.add (name);
        else
            damaged.addIfNotAlreadyThere (file.getParentDirectory().getFullPathName() + ": " + name);
    }

    return damaged;
}

juce::StringArray PayloadCheck::misdatedAfterJob (const InstallOptions& options, const juce::File& contentFolder) const
{
    juce::StringArray misdated;

    for (const auto& [file, name] : installedAfterJob (options, contentFolder))
        if (auto* entry = find (name))
            if (file.getLastModificationTime() != entry->fileTime)
                misdated.add (file.getFullPathName() + ": " + file.getLastModificationTime().toString (true, true)
                              + ", its entry " + entry->fileTime.toString (true, true));

    return misdated;
}
