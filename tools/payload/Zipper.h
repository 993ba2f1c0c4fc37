#pragma once

#include <juce_core/juce_core.h>

#include <vector>

// One entry of an archive that payload_tool writes.
struct PayloadEntry
{
    juce::String name;          // "/" separated; folders end in "/"
    juce::MemoryBlock data;
    juce::Time time;            // what the entry records; see zipTime()

    bool isFolder() const   { return name.endsWithChar ('/'); }
};

// The time to hand JUCE's ZipFile::Builder so that the archive records t as wall-clock time
// in the process's time zone (rounded down to the format's two-second steps, and no earlier
// than 1980).
juce::Time zipTime (juce::Time t);

// Every file and folder below folder, each folder before its contents and siblings sorted by
// name, so that the archive does not depend on the order the file system lists them in. Each
// file's entry keeps its modification time; a folder's entry takes the newest time of the
// files below it. Reports and returns false when a file cannot be
// read or a link leads to a folder.
bool collectFolder (const juce::File& folder, std::vector<PayloadEntry>& entries);

// Writes the entries in their order as a ZIP archive (deflated where that makes them smaller)
// and reports what it wrote; on failure reports why and leaves no partial file.
bool writeArchive (const std::vector<PayloadEntry>& entries, const juce::File& out);
