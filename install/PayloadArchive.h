#pragma once

#include "install/ZipDirectory.h"

// The ZIP archive that carries every installed file. By default it is the block linked into
// the installer; tests may hand in any other block. The bytes are read in place, never copied.
class PayloadArchive
{
public:
    PayloadArchive();                                  // the embedded payload
    PayloadArchive (const void* data, size_t size);    // any other block, which must outlive this
    ~PayloadArchive();

    // Unpacks every entry into targetFolder, in central-directory order, replacing files,
    // creating folders and keeping time stamps. Each file's CRC-32 is verified. Stops at the
    // first failure with its reason; a file that failed is not left in place.
    juce::Result unpackTo (const juce::File& targetFolder);

    int getNumEntries() const;
    const ZipDirectory::Entry* getEntry (int index) const;

    // The CRC-32 the archive records for an entry's contents (0 for a folder or a bad index).
    juce::uint32 getEntryChecksum (int index) const;

    // The block linked into the program.
    static const void* embeddedData();
    static size_t embeddedSize();

private:
    ZipDirectory directory;

    juce::Result unpackEntry (const ZipDirectory::Entry& entry, const juce::File& targetFolder);

    JUCE_DECLARE_NON_COPYABLE (PayloadArchive)
};
