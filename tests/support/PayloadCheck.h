#pragma once

#include "install/ZipDirectory.h"

struct InstallOptions;

// Compares installed files with the entries of the payload they came from, read as the
// installer reads them (so "./data/x" is the entry "data/x").
class PayloadCheck
{
public:
    PayloadCheck();   // the payload linked into the installer
    PayloadCheck (const void* data, size_t size);

    // The bytes of an entry ("data/presets/x.srn"); empty when there is no such entry.
    juce::MemoryBlock entryBytes (const juce::String& entryName) const;

    // Number of file entries (not folders) below a folder entry such as "data/mesh/".
    int countFilesBelow (const juce::String& folderEntry) const;

    // Every file below folderEntry has a byte-identical twin below installedFolder; returns
    // the names of those that are missing or differ.
    juce::StringArray differencesBelow (const juce::String& folderEntry, const juce::File& installedFolder) const;

    // Every folder entry below folderEntry (empty ones included) exists below installedFolder;
    // returns the entries of those that do not.
    juce::StringArray missingFoldersBelow (const juce::String& folderEntry, const juce::File& installedFolder) const;

    // An installed file equals its entry.
    bool matches (const juce::File& installed, const juce::String& entryName) const;

    // Every file under root that the job did not report as failed (its path is not named in
    // errorText) equals the payload entry of the same name; returns the ones that do not.
    juce::StringArray damagedFilesIn (const juce::File& installedFolder, const juce::String& folderEntry,
                                      const juce::String& errorText) const;

    // What a job run with these options left where it installs: every file below the content
    // folder, and every file in a used plug-in folder or the stand-alone folder that carries
    // an entry's name (others are the user's), equals its entry unless errorText names it.
    // Returns the damaged ones. Any test that runs the job can call it afterwards.
    juce::StringArray damagedAfterJob (const InstallOptions& options, const juce::File& contentFolder,
                                       const juce::String& errorText) const;

    // The same files of a job run, each with a modification time other than its entry's;
    // returns them with both times. The user's own files, which have no entry, are left out.
    juce::StringArray misdatedAfterJob (const InstallOptions& options, const juce::File& contentFolder) const;

private:
    ZipDirectory directory;

    const ZipDirectory::Entry* find (const juce::String& entryName) const;

    // Where a job run with these options installs, each file with the entry of the same name
    // (for the content folder, the name below "data/").
    struct Installed { juce::File file; juce::String entryName; };
    juce::Array<Installed> installedAfterJob (const InstallOptions& options, const juce::File& contentFolder) const;
};
