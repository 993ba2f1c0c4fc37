#pragma once

#include <juce_core/juce_core.h>

// The CRC-32 that ZIP archives record for an entry's unpacked bytes. The payload check, the
// uninstaller's list of content files and the uninstaller's look at an installed file must
// all reach the same figure for the same bytes.
namespace Crc32
{
    struct Sum
    {
        juce::uint32 crc = 0;
        juce::int64 size = 0;       // the number of bytes read
    };

    // Reads the stream from its position to its end.
    Sum of (juce::InputStream& in);
}
