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
}
