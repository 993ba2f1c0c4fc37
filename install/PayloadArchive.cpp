#include "install/PayloadArchive.h"
#include "install/EntryNames.h"
#include "platform/WholeFile.h"

#include <zlib.h>

extern "C" const char sorna_res_payload_data[];
extern "C" const char sorna_res_payload_end[];

namespace
{
    using namespace juce;

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
    : directory (data, size)
{
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
    return (int) directory.getEntries().size();
}

const ZipDirectory::Entry* PayloadArchive::getEntry (int index) const
{
    return isPositiveAndBelow (index, getNumEntries()) ? &directory.getEntries()[(size_t) index] : nullptr;
}

juce::uint32 PayloadArchive::getEntryChecksum (int index) const
{
    auto* entry = getEntry (index);
    return entry != nullptr ? entry->checksum : 0;
}

juce::Result PayloadArchive::unpackTo (const juce::File& targetFolder)
{
    if (directory.getEntries().empty())
        return Result::fail ("Failed to open the zip file for reading");

    for (auto& entry : directory.getEntries())
    {
        auto result = unpackEntry (entry, targetFolder);

        if (result.failed())
            return result;
    }

    return Result::ok();
}

juce::Result PayloadArchive::unpackEntry (const ZipDirectory::Entry& entry, const juce::File& targetFolder)
{
    auto& name = entry.filename;

    if (name.isEmpty())
        return Result::ok();

    auto target = targetFolder.getChildFile (name);

    if (EntryNames::unsafeReason (name).isNotEmpty() || ! target.isAChildOf (targetFolder))
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

    // Told apart from damage, so that whoever made the archive learns what to change.
    if (entry.encrypted)
        return Result::fail ("Password-protected file in the installer, which it cannot unpack: " + name);

    if (! entry.hasReadableMethod())
        return Result::fail ("File in the installer packed with a method it cannot read (" + String (entry.method) + "): " + name);

    auto in = directory.createStream (entry);

    if (in == nullptr)
        return Result::fail ("Damaged file in the installer: " + name);

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

    if (size != entry.uncompressedSize || (uint32) crc != entry.checksum)
        return Result::fail ("Damaged file in the installer: " + name);

    if (! temp.overwriteTargetFileWithTemporary())
        return writeFailure;

    target.setCreationTime (entry.fileTime);
    target.setLastModificationTime (entry.fileTime);
    target.setLastAccessTime (entry.fileTime);
    return Result::ok();
}
