#include "install/ZipDirectory.h"

namespace
{
    using namespace juce;

    constexpr uint32 localHeaderSignature = 0x04034b50;
    constexpr uint32 directorySignature = 0x02014b50;
    constexpr uint32 endSignature = 0x06054b50;
    constexpr uint32 zip64EndSignature = 0x06064b50;
    constexpr uint32 zip64LocatorSignature = 0x07064b50;
    constexpr uint32 unknown32 = 0xffffffff;    // "see the ZIP64 record"

    uint64 readLE16 (const uint8* p)  { return ByteOrder::littleEndianShort (p); }
    uint64 readLE32 (const uint8* p)  { return ByteOrder::littleEndianInt (p); }
    uint64 readLE64 (const uint8* p)  { return ByteOrder::littleEndianInt64 (p); }

    // MS-DOS date and time, read as JUCE's ZipFile reads them.
    Time dosTime (uint64 time, uint64 date)
    {
        return { (int) (1980 + (date >> 9)), (int) ((date >> 5) & 15) - 1, (int) (date & 31),
                 (int) (time >> 11), (int) ((time >> 5) & 63), (int) ((time & 31) << 1) };
    }

    // Replaces the sizes and offset that a directory record marks as unknown with the values
    // of its ZIP64 extra field, which holds just those, in this order.
    bool readZip64Extra (const uint8* extra, uint64 length, ZipDirectory::Entry& e)
    {
        for (uint64 pos = 0; pos + 4 <= length;)
        {
            const auto id = readLE16 (extra + pos);
            const auto fieldLength = readLE16 (extra + pos + 2);
            pos += 4;

            if (pos + fieldLength > length)
                return false;

            if (id == 1)
            {
                auto* field = extra + pos;
                uint64 used = 0;

                for (auto* value : { &e.uncompressedSize, &e.compressedSize })
                {
                    if ((uint64) *value != unknown32)
                        continue;

                    if (used + 8 > fieldLength)
                        return false;

                    *value = (int64) readLE64 (field + used);
                    used += 8;
                }

                if (e.headerOffset == unknown32)
                {
                    if (used + 8 > fieldLength)
                        return false;

                    e.headerOffset = readLE64 (field + used);
                }

                return e.uncompressedSize >= 0 && e.compressedSize >= 0;
            }

            pos += fieldLength;
        }

        return true;
    }
}

ZipDirectory::ZipDirectory (const void* block, size_t blockSize)
    : data (static_cast<const uint8*> (block)), size (block != nullptr ? blockSize : 0), status (read())
{
    if (status.failed())
        entries.clear();
}

juce::Result ZipDirectory::read()
{
    const auto notZip = Result::fail ("not a ZIP archive, or one without entries");
    const auto damaged = Result::fail ("the archive's central directory is damaged");

    if (size < 22)
        return notZip;

    // The end record sits at the very end, unless an archive comment (at most 64 kB) follows.
    const auto lowest = size > 22 + 0xffff ? size - 22 - 0xffff : 0;
    auto end = size - 22;

    for (; readLE32 (data + end) != endSignature; --end)
        if (end == lowest)
            return notZip;

    uint64 count = readLE16 (data + end + 10);
    uint64 position = readLE32 (data + end + 16);
    uint64 directoryEnd = end;

    // A ZIP64 end record, found through the locator just before the end record, holds the
    // real count and position wherever the plain record could not.
    if (end >= 20 && readLE32 (data + end - 20) == zip64LocatorSignature)
    {
        const auto record = readLE64 (data + end - 20 + 8);

        if (record > end - 20 || end - 20 - record < 56 || readLE32 (data + record) != zip64EndSignature)
            return damaged;

        count = readLE64 (data + record + 32);
        position = readLE64 (data + record + 48);
        directoryEnd = record;
    }

    // Some writers record the offset just past the directory's first signature.
    if (position >= 4 && position + 4 <= directoryEnd && readLE32 (data + position) != directorySignature
         && readLE32 (data + position - 4) == directorySignature)
        position -= 4;

    if (position > directoryEnd || count > (directoryEnd - position) / 46)
        return damaged;

    entries.reserve ((size_t) count);

    for (uint64 i = 0; i < count; ++i)
    {
        const auto* record = data + position;

        if (position + 46 > directoryEnd || readLE32 (record) != directorySignature)
            return damaged;

        const auto nameLength = readLE16 (record + 28);
        const auto extraLength = readLE16 (record + 30);
        const auto recordLength = 46 + nameLength + extraLength + readLE16 (record + 32);

        if (position + recordLength > directoryEnd)
            return damaged;

        const auto* name = reinterpret_cast<const char*> (record + 46);

        if (! CharPointer_UTF8::isValidString (name, (int) nameLength))
            return Result::fail ("an entry's name is not UTF-8");

        Entry e;
        e.filename = String::fromUTF8 (name, (int) nameLength);
        e.encrypted = (readLE16 (record + 8) & 1) != 0;
        e.method = (int) readLE16 (record + 10);
        e.fileTime = dosTime (readLE16 (record + 12), readLE16 (record + 14));
        e.checksum = (uint32) readLE32 (record + 16);
        e.compressedSize = (int64) readLE32 (record + 20);
        e.uncompressedSize = (int64) readLE32 (record + 24);
        e.headerOffset = readLE32 (record + 42);

        if (! readZip64Extra (record + 46 + nameLength, extraLength, e))
            return damaged;

        position += recordLength;

        // "./" is the archive's root, which is the folder it unpacks into.
        while (e.filename.startsWith ("./"))
            e.filename = e.filename.substring (2);

        if (e.filename.isNotEmpty() || nameLength == 0)
            entries.push_back (std::move (e));
    }

    return Result::ok();
}

std::unique_ptr<juce::InputStream> ZipDirectory::createStream (const Entry& e) const
{
    if (e.encrypted || ! e.hasReadableMethod())
        return {};

    const auto header = e.headerOffset;

    if (header > size || size - header < 30 || readLE32 (data + header) != localHeaderSignature)
        return {};

    // The local header's name and extra field may differ in length from the directory's.
    const auto start = header + 30 + readLE16 (data + header + 26) + readLE16 (data + header + 28);

    if (start > size || (uint64) e.compressedSize > size - start)
        return {};

    auto raw = std::make_unique<MemoryInputStream> (data + start, (size_t) e.compressedSize, false);

    if (e.method == 0)
        return raw;

    return std::make_unique<GZIPDecompressorInputStream> (raw.release(), true, GZIPDecompressorInputStream::deflateFormat,
                                                          e.uncompressedSize);
}
