#pragma once

#include <juce_core/juce_core.h>

// The bytes of a registry export file and its text. Files are written the way regedit itself
// exports version 5.00 files: UTF-16LE with a byte order mark and CR LF line ends, the only
// encoding both Windows' and Wine's regedit read non-ASCII text from correctly (a file without
// the mark is taken as the ANSI code page). Reading is lenient: UTF-8 (with or without its
// mark) and Windows-1252 are accepted too.
namespace RegistryText
{
    // The text of a file: UTF-16 with a byte order mark, else UTF-8 or Windows-1252. False for
    // bytes with a NUL character, which no text file holds.
    bool decode (const juce::MemoryBlock& data, juce::String& text);

    // The file for these lines: the byte order mark, then each line and CR LF in UTF-16LE.
    juce::MemoryBlock encode (const juce::StringArray& lines);
}
