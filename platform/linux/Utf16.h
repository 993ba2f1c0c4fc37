#pragma once

#include <juce_core/juce_core.h>

// UTF-16 as Windows files carry it: little-endian code units, with a surrogate pair for each
// character beyond the basic plane. No byte order mark and no terminator are added.
namespace Utf16
{
    // The number of code units the text takes.
    size_t length (const juce::String& text);

    // Returns false when a write failed.
    bool write (juce::OutputStream& out, const juce::String& text);

    // Reads little-endian units from the size bytes at data, up to the first zero unit or the
    // end (an odd last byte is ignored). False, leaving text alone, when they are not valid
    // UTF-16. terminated tells whether a zero unit ended them.
    bool read (const juce::uint8* data, size_t size, juce::String& text, bool& terminated);
}
