#pragma once

#include <juce_core/juce_core.h>

#include <functional>

// Files written whole or not at all. The new bytes go to a temporary file beside the target,
// which replaces the target only once every byte is on disk and the size on disk says so (a
// full disk can cut the last write short without the stream noticing). A folder standing where
// the file should go is never replaced. Whatever fails, the previous file stays as it was and no
// temporary file is left behind.
namespace WholeFile
{
    // Whether the new file is forced to disk before it replaces the old one: right for a small
    // record that should survive a power cut, far too slow for the hundreds of files an
    // installation copies.
    enum class Sync { cached, toDisk };

    // Replaces target with data. temporaryFileFlags are juce::TemporaryFile's option flags
    // (useHiddenFile, for instance). Returns false when target was left as it was.
    bool replaceWith (const juce::File& target, const juce::MemoryBlock& data,
                      Sync sync = Sync::toDisk, int temporaryFileFlags = 0);

    // Replaces target with everything the stream holds from its position to its end.
    bool replaceWith (const juce::File& target, juce::InputStream& source,
                      Sync sync = Sync::cached, int temporaryFileFlags = 0);

    // A copy of the file source at destination (not forced to disk), with the source's
    // modification time. False when source is no file or could not be read to its end, or a
    // folder is in the way.
    bool copy (const juce::File& source, const juce::File& destination);

    // As copy, for a source that nothing writes to again and that goes away soon after, such as
    // a file unpacked into a temporary folder. On Linux, when both lie on one file system, the
    // destination becomes a second name of the source's data (a hard link) rather than a copy:
    // making a new file is by far the dearest part of copying a small one. Elsewhere, and for
    // anything that cannot be linked, it copies.
    bool copyOrLink (const juce::File& source, const juce::File& destination);

    // The whole content of a file of at most sizeLimit bytes. False when the file is missing,
    // larger or could not be read to its end.
    bool readSmall (const juce::File& file, juce::int64 sizeLimit, juce::MemoryBlock& data);

    // The writer underneath: writes everything the stream holds into file, unbuffered, so that
    // each write reports its own failure (flushing would force every file to disk). onChunk,
    // when given, sees every chunk as it is written. Returns the number of bytes written, or -1
    // when a write failed or the file on disk ended up shorter. It does not make file whole by
    // itself: callers write into a temporary file (see replaceWith).
    juce::int64 write (juce::InputStream& in, const juce::File& file,
                       const std::function<void (const void* data, size_t size)>& onChunk = {});
}
