#include "tools/payload/ContentList.h"
#include "install/Crc32.h"
#include "install/ZipDirectory.h"
#include "platform/WholeFile.h"
#include "product/Product.h"

#include <iostream>
#include <vector>

// Read with the installer's own ZIP reader, so that the list names what an installation places
// from any archive the installer accepts (ZIP64 records, names starting with "./"). Each file's
// CRC-32 is computed from its inflated bytes, so the list describes exactly what an installation
// writes, whatever the archive's own records say.
int writeContentList (const juce::File& zipFile, const juce::File& listFile)
{
    juce::MemoryBlock bytes;

    if (! zipFile.loadFileAsData (bytes))
    {
        std::cerr << "payload_tool: cannot read " << zipFile.getFullPathName() << "\n";
        return 1;
    }

    const ZipDirectory zip (bytes.getData(), bytes.getSize());

    if (zip.getStatus().failed())
    {
        std::cerr << "payload_tool: " << zipFile.getFullPathName() << ": " << zip.getStatus().getErrorMessage() << "\n";
        return 1;
    }

    const juce::String data (Product::contentFolderName);
    const auto placed = Product::contentEntries();
    std::vector<std::pair<juce::String, juce::uint32>> lines;

    for (auto& entry : zip.getEntries())
    {
        const auto& name = entry.filename;

        if (entry.isFolder() || name.containsChar ('\\'))
            continue;

        bool isContent = false;

        for (auto& folder : placed)
            isContent = isContent || name.startsWith (folder);

        if (! isContent)
            continue;

        auto in = zip.createStream (entry);
        const auto sum = in != nullptr ? Crc32::of (*in) : Crc32::Sum();

        if (in == nullptr || sum.size != entry.uncompressedSize)
        {
            std::cerr << "payload_tool: cannot unpack " << name << " from " << zipFile.getFullPathName() << "\n";
            return 1;
        }

        lines.emplace_back (name.substring (data.length() + 1), sum.crc);
    }

    std::sort (lines.begin(), lines.end(), [] (const auto& a, const auto& b) { return a.first.compare (b.first) < 0; });

    juce::MemoryOutputStream text;

    for (auto& [path, crc] : lines)
        text << juce::String::toHexString ((juce::int64) crc).paddedLeft ('0', 8) << " " << path << "\n";

    if (! listFile.getParentDirectory().createDirectory()
         || ! WholeFile::replaceWith (listFile, text.getMemoryBlock(), WholeFile::Sync::cached))
    {
        std::cerr << "payload_tool: cannot write " << listFile.getFullPathName() << "\n";
        return 1;
    }

    std::cout << "payload_tool: " << lines.size() << " content files listed in " << listFile.getFullPathName() << "\n";
    return 0;
}
