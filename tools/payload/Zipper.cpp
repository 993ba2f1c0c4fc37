#include "tools/payload/Zipper.h"
#include "platform/WholeFile.h"

#include <algorithm>
#include <iostream>

namespace
{
    using namespace juce;

    // Deflates a file unless that would not make it smaller, as zip tools do: already
    // compressed data (audio, noise-like tables) is stored as it is.
    int compressionFor (const PayloadEntry& e)
    {
        if (e.isFolder() || e.data.isEmpty())
            return 0;

        MemoryOutputStream packed;

        {
            GZIPCompressorOutputStream deflater (packed, 6, GZIPCompressorOutputStream::windowBitsRaw);
            deflater.write (e.data.getData(), e.data.getSize());
        }

        return packed.getDataSize() < e.data.getSize() ? 6 : 0;
    }

    bool addFolder (const File& root, const File& folderToAdd, std::vector<PayloadEntry>& entries)
    {
        auto children = folderToAdd.findChildFiles (File::findFilesAndDirectories, false, "*", File::FollowSymlinks::no);
        std::sort (children.begin(), children.end(),
                   [] (const File& a, const File& b) { return a.getFileName() < b.getFileName(); });

        for (auto& f : children)
        {
            auto name = f.getRelativePathFrom (root).replaceCharacter (File::getSeparatorChar(), '/');

            if (f.isDirectory())
            {
                if (f.isSymbolicLink())
                {
                    std::cerr << "payload_tool: " << f.getFullPathName() << " is a link to a folder; copy the folder in instead\n";
                    return false;
                }

                // A folder's own time changes whenever anything is added to it or removed,
                // and the installer does not apply it: the entry takes the newest time of the
                // files below it instead, so that only the files decide the archive's bytes.
                const auto index = entries.size();
                entries.push_back ({ name + "/", {}, zipTime ({}) });

                if (! addFolder (root, f, entries))
                    return false;

                for (auto i = index + 1; i < entries.size(); ++i)
                    if (! entries[i].isFolder())
                        entries[index].time = jmax (entries[index].time, entries[i].time);
            }
            else
            {
                PayloadEntry e { name, {}, zipTime (f.getLastModificationTime()) };

                if (! f.loadFileAsData (e.data))
                {
                    std::cerr << "payload_tool: cannot read " << f.getFullPathName() << "\n";
                    return false;
                }

                entries.push_back (std::move (e));
            }
        }

        return true;
    }
}

// ZIP keeps wall-clock time in two-second steps, which JUCE's Builder takes from the local
// time (payload_tool's is UTC). The Builder writes the seconds without halving them (its reader
// doubles them), so hand it half the seconds: that yields the correct stamp for every reader,
// Info-ZIP's and JUCE's alike.
juce::Time zipTime (juce::Time t)
{
    if (t.getYear() < 1980)
        return Time (1980, 0, 1, 0, 0, 0, 0, true);

    return Time (t.getYear(), t.getMonth(), t.getDayOfMonth(), t.getHours(), t.getMinutes(),
                 t.getSeconds() / 2, 0, true);
}

bool collectFolder (const juce::File& folder, std::vector<PayloadEntry>& entries)
{
    return addFolder (folder, folder, entries);
}

bool writeArchive (const std::vector<PayloadEntry>& entries, const juce::File& out)
{
    if (entries.size() > 0xffff)
    {
        std::cerr << "payload_tool: too many entries for a ZIP archive without ZIP64 ("
                  << entries.size() << ")\n";
        return false;
    }

    ZipFile::Builder builder;

    for (auto& e : entries)
    {
        if (e.data.getSize() >= 0xffffffffull)
        {
            std::cerr << "payload_tool: " << e.name << " is too large for a ZIP archive without ZIP64\n";
            return false;
        }

        builder.addEntry (new MemoryInputStream (e.data, false), compressionFor (e), e.name, e.time);
    }

    if (! out.getParentDirectory().createDirectory())
    {
        std::cerr << "payload_tool: cannot create the folder of " << out.getFullPathName() << "\n";
        return false;
    }

    MemoryBlock archive;
    bool written = false;

    {
        MemoryOutputStream stream (archive, false);
        written = builder.writeToStream (stream, nullptr);
    }

    if (! written || archive.getSize() >= 0xffffffffull
        || ! WholeFile::replaceWith (out, archive, WholeFile::Sync::cached))
    {
        std::cerr << "payload_tool: cannot write " << out.getFullPathName() << "\n";
        return false;
    }

    std::cout << "payload_tool: wrote " << out.getFullPathName() << " (" << entries.size()
              << " entries, " << out.getSize() << " bytes)\n";
    return true;
}
