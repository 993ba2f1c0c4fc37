#pragma once

#include <juce_core/juce_core.h>

// UTF-16 as Windows files carry it: little-endian code units, with a surrogate pair for each
// character beyond the basic plane. No byte order mark and no terminator are added. Reading
// takes either byte order, for files that name theirs with a byte order mark.
namespace Utf16
{
    enum class Order { littleEndian, bigEndian };

    // What becomes of half a surrogate pair without its other half: the text is refused, or the
    // half reads as U+FFFD (the replacement character), so that the rest of a file still reads.
    enum class LoneSurrogates { refuse, replace };

    // The number of code units the text takes.
    size_t length (const juce::String& text);

    // Returns false when a write failed.
    bool write (juce::OutputStream& out, const juce::String& text);

    // Reads units from the size bytes at data, up to the first zero unit or the end (an odd
    // last byte is ignored). False, leaving text alone, when a lone surrogate is refused.
    // terminated tells whether a zero unit ended them.
    bool read (const juce::uint8* data, size_t size, juce::String& text, bool& terminated,
               Order order = Order::littleEndian, LoneSurrogates lone = LoneSurrogates::refuse);
}
