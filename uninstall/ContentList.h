#pragma once

#include <juce_core/juce_core.h>

// One content file that the payload places: its path below the content folder ("/" between
// folders, e.g. "presets/Init.srn") and the CRC-32 of the bytes it was installed with.
struct ContentFile
{
    juce::uint32 checksum = 0;
    juce::String path;
};

// The list of the payload's content files that the uninstaller carries: one line per file,
// eight lower-case hex digits of the CRC-32, one space, the path (made by
// "payload_tool content-list" at build time).
namespace ContentList
{
    // Reads the list's text. A line that is not of that form, or whose path could lead out of
    // the content folder, is skipped.
    juce::Array<ContentFile> parse (const juce::String& text);

    // The list linked into the uninstaller.
    juce::Array<ContentFile> embedded();

    // The CRC-32 of a file's bytes; false when the file cannot be read to its end.
    bool checksumOf (const juce::File& file, juce::uint32& checksum);
}
