#include "install/Crc32.h"

#include <zlib.h>

Crc32::Sum Crc32::of (juce::InputStream& in)
{
    constexpr int chunkSize = 65536;
    juce::HeapBlock<juce::uint8> buffer (chunkSize);
    uLong crc = crc32 (0, nullptr, 0);
    Sum sum;

    for (int n; (n = in.read (buffer, chunkSize)) > 0; sum.size += n)
        crc = crc32 (crc, buffer, (uInt) n);

    sum.crc = (juce::uint32) crc;
    return sum;
}
