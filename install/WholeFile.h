#pragma once

#include <juce_core/juce_core.h>

#include <functional>

namespace WholeFile
{
    // Writes everything the stream holds into file, unbuffered, so that each write reports its
    // own failure (flush() would also force every file to disk, which makes unpacking and
    // copying several times slower). onChunk, when given, sees every chunk as it is written.
    // Returns the number of bytes written, or -1 when a write failed or the file on disk ended
    // up shorter, as a full disk can leave it.
    juce::int64 write (juce::InputStream& in, const juce::File& file,
                       const std::function<void (const void* data, size_t size)>& onChunk = {});
}
