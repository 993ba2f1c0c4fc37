#include "tools/payload/ContentList.h"
#include "product/Product.h"

#include <zlib.h>

#include <iostream>
#include <vector>

// Each file's CRC-32 is computed from its inflated bytes, so the list describes exactly what an
// installation writes, whatever the archive's own records say.
int writeContentList (const juce::File& zipFile, const juce::File& listFile)
{
    juce::FileInputStream in (zipFile);

    if (! in.openedOk())
    {
        std::cerr << "payload_tool: cannot read " << zipFile.getFullPathName() << "\n";
        return 1;
    }

    juce::ZipFile zip (in);
    const juce::String data (Product::contentFolderName);
    const juce::StringArray placed { data + "/" + Product::presetsFolderName + "/",
                                     data + "/" + Product::meshFolderName + "/",
                                     data + "/" + Product::tutorialsFolderName + "/" };
    std::vector<std::pair<juce::String, juce::uint32>> lines;

    for (int i = 0; i < zip.getNumEntries(); ++i)
    {
        const auto& name = zip.getEntry (i)->filename;

        if (name.endsWithChar ('/') || name.containsChar ('\\'))
            continue;

        bool isContent = false;

        for (auto& folder : placed)
            isContent = isContent || name.startsWith (folder);

        if (! isContent)
            continue;

        std::unique_ptr<juce::InputStream> entry (zip.createStreamForEntry (i));
        juce::HeapBlock<juce::uint8> buffer (65536);
        uLong crc = crc32 (0, nullptr, 0);
        juce::int64 size = 0;

        for (int n; entry != nullptr && (n = entry->read (buffer, 65536)) > 0;)
        {
            crc = crc32 (crc, buffer, (uInt) n);
            size += n;
        }

        if (entry == nullptr || size != zip.getEntry (i)->uncompressedSize)
        {
            std::cerr << "payload_tool: cannot unpack " << name << " from " << zipFile.getFullPathName() << "\n";
            return 1;
        }

        lines.emplace_back (name.substring (data.length() + 1), (juce::uint32) crc);
    }

    std::sort (lines.begin(), lines.end(), [] (const auto& a, const auto& b) { return a.first.compare (b.first) < 0; });

    juce::MemoryOutputStream text;

    for (auto& [path, crc] : lines)
        text << juce::String::toHexString ((juce::int64) crc).paddedLeft ('0', 8) << " " << path << "\n";

    if (! listFile.getParentDirectory().createDirectory() || ! listFile.replaceWithData (text.getData(), text.getDataSize()))
    {
        std::cerr << "payload_tool: cannot write " << listFile.getFullPathName() << "\n";
        return 1;
    }

    std::cout << "payload_tool: " << lines.size() << " content files listed in " << listFile.getFullPathName() << "\n";
    return 0;
}
