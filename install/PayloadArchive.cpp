#include "install/PayloadArchive.h"
#include "platform/WholeFile.h"

#include <zlib.h>

extern "C" const char sorna_res_payload_data[];
extern "C" const char sorna_res_payload_end[];

namespace
{
    using namespace juce;

    uint32 readLE32 (const uint8* p)  { return ByteOrder::littleEndianInt (p); }
    size_t readLE16 (const uint8* p)  { return ByteOrder::littleEndianShort (p); }

    // A name that could reach outside the target folder, or that Windows reads differently.
    bool isUnsafeName (const String& name)
    {
        return name.containsChar ('\\')
            || name.startsWithChar ('/')
            || name.containsChar (':')
            || StringArray::fromTokens (name, "/", "").contains ("..");
    }

    // Writing through a link below the target folder could land anywhere on the disk.
    bool leadsThroughLink (const File& root, File f)
    {
        for (; f != root && f.isAChildOf (root); f = f.getParentDirectory())
            if (f.isSymbolicLink())
                return true;

        return false;
    }
}

PayloadArchive::PayloadArchive()
    : PayloadArchive (embeddedData(), embeddedSize())
{
}

PayloadArchive::PayloadArchive (const void* data, size_t size)
    : stream (data, size, false),
      zip (stream)
{
    readChecksums (static_cast<const uint8*> (data), size);
}

PayloadArchive::~PayloadArchive() = default;

const void* PayloadArchive::embeddedData()
{
    return sorna_res_payload_data;
}

size_t PayloadArchive::embeddedSize()
{
    return static_cast<size_t> (sorna_res_payload_end - sorna_res_payload_data);
}

int PayloadArchive::getNumEntries() const
{
    return zip.getNumEntries();
}

const juce::ZipFile::ZipEntry* PayloadArchive::getEntry (int index) const
{
    return zip.getEntry (index);
}

juce::uint32 PayloadArchive::getEntryChecksum (int index) const
{
    return checksums[index];
}

// JUCE's ZipFile keeps no CRC-32, so the central directory is read here once more, entry by
// entry in the same order. It is accepted only if it names exactly the entries ZipFile found.
void PayloadArchive::readChecksums (const juce::uint8* data, size_t size)
{
    if (data == nullptr || size < 22 || zip.getNumEntries() == 0)
        return;

    auto lowest = size > 22 + 0xffff ? size - 22 - 0xffff : 0;

    for (auto end = size - 22 + 1; end-- > lowest;)
    {
        if (readLE32 (data + end) != 0x06054b50)
            continue;

        auto count = (int) readLE16 (data + end + 10);
        size_t pos = readLE32 (data + end + 16);

        // Some writers record the offset just past the directory's first signature.
        if (pos >= 4 && pos + 4 <= end && readLE32 (data + pos) != 0x02014b50 && readLE32 (data + pos - 4) == 0x02014b50)
            pos -= 4;

        if (count != zip.getNumEntries())
            return;

        Array<uint32> found;

        for (int i = 0; i < count; ++i)
        {
            if (pos + 46 > end || readLE32 (data + pos) != 0x02014b50)
                return;

            auto nameLength = readLE16 (data + pos + 28);
            const auto* name = reinterpret_cast<const char*> (data + pos + 46);

            // ZipFile keeps a name's bytes as they are, and JUCE's string functions read past
            // the end of a malformed UTF-8 sequence: an archive with one is not used at all.
            if (pos + 46 + nameLength > end
                 || ! CharPointer_UTF8::isValidString (name, (int) nameLength)
                 || String::fromUTF8 (name, (int) nameLength) != zip.getEntry (i)->filename)
                return;

            found.add (readLE32 (data + pos + 16));
            pos += 46 + nameLength + readLE16 (data + pos + 30) + readLE16 (data + pos + 32);
        }

        checksums.swapWith (found);
        return;
    }
}

juce::Result PayloadArchive::unpackTo (const juce::File& targetFolder)
{
    if (zip.getNumEntries() == 0 || checksums.size() != zip.getNumEntries())
        return Result::fail ("Failed to open the zip file for reading");

    for (int i = 0; i < zip.getNumEntries(); ++i)
    {
        auto result = unpackEntry (i, targetFolder);

        if (result.failed())
            return result;
    }

    return Result::ok();
}

juce::Result PayloadArchive::unpackEntry (int index, const juce::File& targetFolder)
{
    auto& entry = *zip.getEntry (index);
    auto& name = entry.filename;

    if (name.isEmpty())
        return Result::ok();

    auto target = targetFolder.getChildFile (name);

    if (isUnsafeName (name) || ! target.isAChildOf (targetFolder))
        return Result::fail ("Unsafe file name in the installer: " + name);

    if (name.endsWithChar ('/'))
    {
        if (leadsThroughLink (targetFolder, target))
            return Result::fail ("Failed to create target folder: " + target.getFullPathName());

        return target.createDirectory().wasOk() ? Result::ok()
                                                : Result::fail ("Failed to create target folder: " + target.getFullPathName());
    }

    auto parent = target.getParentDirectory();

    if (leadsThroughLink (targetFolder, parent) || parent.createDirectory().failed())
        return Result::fail ("Failed to create target folder: " + parent.getFullPathName());

    const auto writeFailure = Result::fail ("Failed to write to target file: " + target.getFullPathName());

    if (target.isDirectory())
        return writeFailure;

    std::unique_ptr<InputStream> in (zip.createStreamForEntry (index));

    if (in == nullptr)
        return Result::fail ("Failed to open the zip file for reading");

    // The file is written beside its target and moves into place only once its checksum
    // matched, so a damaged entry never leaves a damaged file behind.
    TemporaryFile temp (target);
    uLong crc = crc32 (0, nullptr, 0);
    const auto size = WholeFile::write (*in, temp.getFile(), [&crc] (const void* data, size_t n)
    {
        crc = crc32 (crc, static_cast<const Bytef*> (data), (uInt) n);
    });

    if (size < 0)
        return writeFailure;

    if (size != entry.uncompressedSize || (uint32) crc != checksums[index])
        return Result::fail ("Damaged file in the installer: " + name);

    if (! temp.overwriteTargetFileWithTemporary())
        return writeFailure;

    target.setCreationTime (entry.fileTime);
    target.setLastModificationTime (entry.fileTime);
    target.setLastAccessTime (entry.fileTime);
    return Result::ok();
}
