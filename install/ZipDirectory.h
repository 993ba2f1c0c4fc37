#pragma once

#include <juce_core/juce_core.h>

#include <memory>
#include <vector>

// The central directory of a ZIP archive held in memory, and the contents of its entries,
// read in place. The installer unpacks its payload with it and payload_tool checks a payload
// with it, so that the check accepts exactly what the installer can unpack. Beyond what
// JUCE's ZipFile reads, it keeps every entry's CRC-32, method and encryption flag, reads
// ZIP64 records (some tools write them even for small archives) and takes a leading "./"
// (as bsdtar writes it) to mean the archive's root.
class ZipDirectory
{
public:
    struct Entry
    {
        juce::String filename;              // "/" separated, relative to the root; folders end in "/"
        juce::int64 uncompressedSize = 0;
        juce::int64 compressedSize = 0;
        juce::Time fileTime;                // local time, in the archive's two-second steps
        juce::uint32 checksum = 0;          // the CRC-32 the archive records
        int method = 0;                     // 0 stored, 8 deflated; no other is read
        bool encrypted = false;
        juce::uint64 headerOffset = 0;      // of the entry's local header

        bool isFolder() const           { return filename.endsWithChar ('/'); }

        // Stored or deflated: the only methods this reader unpacks.
        bool hasReadableMethod() const  { return method == 0 || method == 8; }
    };

    // The block must outlive this object and every stream it makes.
    ZipDirectory (const void* data, size_t size);

    // Fails, with no entries, when the block has no end record or its directory is cut short
    // or damaged, or when a name is not UTF-8 (JUCE's string functions would read past the
    // end of a malformed sequence).
    const juce::Result& getStatus() const                   { return status; }

    const std::vector<Entry>& getEntries() const            { return entries; }

    // The entry's unpacked bytes; nullptr when they cannot be read: an encrypted entry, a
    // method other than stored or deflated, or a local header outside the block.
    std::unique_ptr<juce::InputStream> createStream (const Entry& entry) const;

private:
    const juce::uint8* data;
    size_t size;
    std::vector<Entry> entries;
    juce::Result status;

    juce::Result read();

    JUCE_DECLARE_NON_COPYABLE (ZipDirectory)
};
