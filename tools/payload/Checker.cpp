#include "tools/payload/Checker.h"
#include "install/Crc32.h"
#include "install/EntryNames.h"
#include "install/ZipDirectory.h"
#include "product/Product.h"

#include <iostream>

namespace
{
    using namespace juce;

    // The methods other tools offer, by the numbers the ZIP format gives them.
    String methodName (int method)
    {
        switch (method)
        {
            case 9:   return " (Deflate64)";
            case 12:  return " (bzip2)";
            case 14:  return " (LZMA)";
            case 93:  return " (Zstandard)";
            case 95:  return " (XZ)";
            case 98:  return " (PPMd)";
            default:  return {};
        }
    }

    // Why the installer could not unpack an entry; empty when it can.
    String unreadableReason (const ZipDirectory& directory, const ZipDirectory::Entry& entry)
    {
        const auto quoted = entry.filename.quoted();

        if (entry.encrypted)
            return quoted + " is encrypted: the installer cannot read password-protected entries (make the archive without a password)";

        if (! entry.hasReadableMethod())
            return quoted + " uses compression method " + String (entry.method) + methodName (entry.method)
                   + ": the installer reads only stored and deflated entries";

        // Inflates every entry, so that a damaged archive fails the build, not an installation.
        auto in = directory.createStream (entry);
        const auto sum = in != nullptr ? Crc32::of (*in) : Crc32::Sum();

        if (in == nullptr || sum.crc != entry.checksum || sum.size != entry.uncompressedSize)
            return quoted + " is damaged (its contents do not match its checksum)";

        return {};
    }

    bool holds (const StringArray& names, const String& required)
    {
        if (! required.endsWithChar ('/'))
            return names.contains (required);

        // A folder is present through the files below it, with or without an entry of its own.
        for (auto& n : names)
            if (n.startsWith (required))
                return true;

        return false;
    }
}

int checkPayload (const juce::File& zipFile)
{
    StringArray problems;
    MemoryBlock bytes;

    if (! zipFile.loadFileAsData (bytes))
        problems.add ("cannot read the file");

    const ZipDirectory directory (bytes.getData(), bytes.getSize());
    const auto& entries = directory.getEntries();

    if (problems.isEmpty() && directory.getStatus().failed())
        problems.add (directory.getStatus().getErrorMessage());
    else if (problems.isEmpty() && entries.empty())
        problems.add ("not a ZIP archive, or one without entries");

    const bool readable = problems.isEmpty();
    StringArray present, safeNames;
    int64 unpacked = 0;

    for (auto& entry : entries)
    {
        const auto& name = entry.filename;
        const auto unsafe = EntryNames::unsafeReason (name);

        if (unsafe.isNotEmpty())
        {
            problems.add (unsafe);
            continue;
        }

        safeNames.add (name);

        if (present.contains (name))
            problems.add (name.quoted() + " appears twice");

        present.add (name);

        const auto unreadable = unreadableReason (directory, entry);

        if (unreadable.isNotEmpty())
            problems.add (unreadable);

        unpacked += entry.uncompressedSize;
    }

    problems.addArray (EntryNames::caseClashes (safeNames));

    if (readable)
        for (auto& required : Product::requiredPayloadEntries())
            if (! holds (present, required))
                problems.add ("missing " + required.quoted() + ", which the installer needs");

    if (problems.isEmpty())
    {
        std::cout << "payload_tool: " << zipFile.getFullPathName() << " is a usable payload ("
                  << entries.size() << " entries, " << unpacked << " bytes unpacked)\n";
        return 0;
    }

    std::cerr << "payload_tool: " << zipFile.getFullPathName() << " cannot be the installer's payload:\n";

    for (auto& p : problems)
        std::cerr << "  " << p << "\n";

    return 1;
}
