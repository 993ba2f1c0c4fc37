// Makes and checks the ZIP archive that the installer carries (the payload).
//   payload_tool demo <out.zip> [ENTRY=PATH ...]          a deterministic stand-in for the product's files
//   payload_tool zip <folder> <out.zip> [ENTRY=PATH ...]  zips a folder of the real product's files
//   payload_tool check <zip>                              refuses an archive the installer could not use
//   payload_tool content-list <zip> <out>                 lists the content files for the uninstaller
// ENTRY=PATH hands in a file that the build made (the demo program, the uninstaller): in the demo
// it replaces that entry's placeholder, in a folder it is added only when the folder lacks it.
// The build runs these (cmake/Payload.cmake); every message goes to the console, and any
// failure ends with a non-zero exit status so that the build stops.

#include "product/Product.h"
#include "tools/payload_content_list.h"

#include <juce_core/juce_core.h>

#include <zlib.h>

#include <algorithm>
#include <iostream>
#include <map>
#include <vector>

namespace
{
    using namespace juce;

    //==============================================================================
    struct Entry
    {
        String name;        // "/" separated; folders end in "/"
        MemoryBlock data;
        Time time;

        bool isFolder() const   { return name.endsWithChar ('/'); }
    };

    // ZIP keeps local wall-clock time in two-second steps. JUCE's Builder writes the seconds
    // without halving them (its reader doubles them), so hand it half the seconds: that yields
    // the correct stamp for every reader, Info-ZIP's and JUCE's alike.
    Time toZipTime (Time t)
    {
        if (t.getYear() < 1980)
            return Time (1980, 0, 1, 0, 0, 0, 0, true);

        return Time (t.getYear(), t.getMonth(), t.getDayOfMonth(), t.getHours(), t.getMinutes(),
                     t.getSeconds() / 2, 0, true);
    }

    // Deflates a file unless that would not make it smaller, as zip tools do: already
    // compressed data (audio, noise-like tables) is stored as it is.
    int compressionFor (const Entry& e)
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

    bool writeArchive (const std::vector<Entry>& entries, const File& out)
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

        TemporaryFile temp (out);
        bool written = false;

        {
            FileOutputStream stream (temp.getFile());
            written = stream.openedOk() && builder.writeToStream (stream, nullptr);
            stream.flush();
            written = written && stream.getStatus().wasOk();
        }

        if (! written || temp.getFile().getSize() >= 0xffffffffll || ! temp.overwriteTargetFileWithTemporary())
        {
            std::cerr << "payload_tool: cannot write " << out.getFullPathName() << "\n";
            return false;
        }

        std::cout << "payload_tool: wrote " << out.getFullPathName() << " (" << entries.size()
                  << " entries, " << out.getSize() << " bytes)\n";
        return true;
    }

    //==============================================================================
    // The demo payload: the entry layout the installer expects, with made-up contents that
    // behave like the real ones (executables compress to about a fifth, presets and documents
    // are text, audio and measured tables are incompressible). Same bytes on every run.
    class DemoPayload
    {
    public:
        std::vector<Entry> build (const std::vector<Entry>& supplied)
        {
            topLevel();

            // Placeholders are made all the same, so that the content that follows is the same
            // bytes whatever the build supplies.
            for (auto& s : supplied)
                for (auto& e : entries)
                    if (e.name == s.name)
                        e.data = s.data;

            folder ("data/");
            presets();
            meshes();
            tutorials();
            padToTotal();
            return std::move (entries);
        }

    private:
        static constexpr int64 totalUnpacked = 41169814;

        std::vector<Entry> entries;
        Random random { 0x536f726e61 };
        const Time stamp { 2019, 10, 4, 12, 0, 0, 0, true };

        void folder (const String& name)
        {
            entries.push_back ({ name, {}, stamp });
        }

        Entry& file (const String& name, MemoryBlock data)
        {
            entries.push_back ({ name, std::move (data), stamp });
            return entries.back();
        }

        MemoryBlock noise (size_t size, const char* magic = "")
        {
            MemoryBlock block (size);
            random.fillBitsRandomly (block.getData(), size);
            block.copyFrom (magic, 0, jmin (size, strlen (magic)));
            return block;
        }

        // Machine code look-alike: runs drawn from a small vocabulary of instruction-like
        // snippets, with a share of fully random stretches (tables, packed resources).
        MemoryBlock program (size_t size, const char* magic)
        {
            std::vector<MemoryBlock> vocabulary;

            for (int i = 0; i < 96; ++i)
                vocabulary.push_back (noise ((size_t) (4 + random.nextInt (12))));

            MemoryOutputStream out (size + 64);

            while (out.getDataSize() < size)
            {
                if (random.nextInt (100) < 4)
                {
                    auto chunk = noise ((size_t) (64 + random.nextInt (448)));
                    out.write (chunk.getData(), chunk.getSize());
                }
                else
                {
                    for (int n = 24; --n >= 0;)
                    {
                        // A few snippets are common, most are rare, as in real code.
                        auto& word = vocabulary[(size_t) random.nextInt (random.nextInt (4) == 0 ? 96 : 24)];
                        out.write (word.getData(), word.getSize());
                        out.writeByte ((char) random.nextInt (8));
                    }
                }
            }

            MemoryBlock block (out.getData(), size);
            block.copyFrom (magic, 0, strlen (magic));
            return block;
        }

        String number (double low, double high)
        {
            return String (low + random.nextDouble() * (high - low), 4);
        }

        MemoryBlock preset (const String& presetName, int parameters)
        {
            String text;
            text << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<SornaPreset name=\"" << presetName
                 << "\" version=\"1.8\">\n";

            for (int i = 0; i < parameters; ++i)
                text << "  <param id=\"p" << i << "\" name=\"" << parameterNames[(size_t) i % parameterNames.size()]
                     << " " << (i / (int) parameterNames.size() + 1) << "\" value=\"" << number (0.0, 1.0)
                     << "\" mod=\"" << number (-1.0, 1.0) << "\"/>\n";

            text << "</SornaPreset>\n";
            return MemoryBlock (text.toRawUTF8(), text.getNumBytesAsUTF8());
        }

        MemoryBlock curve (const String& kind, int points)
        {
            String text;
            text << "# Sorna " << kind << "\npoints " << points << "\n";

            for (int i = 0; i < points; ++i)
                text << String (i / (double) points, 5) << " " << number (-1.0, 1.0) << " " << number (0.0, 0.5) << "\n";

            return MemoryBlock (text.toRawUTF8(), text.getNumBytesAsUTF8());
        }

        void topLevel()
        {
            file ("Sorna.dll", program (4210688, "MZ"));
            file ("Sorna64.dll", program (4000000, "MZ"));   // sized by padToTotal()
            file ("Sorna.vst3", program (4214272, "MZ"));
            file ("Sorna64.vst3", program (5260800, "MZ"));
            file ("Sorna.exe", program (4702208, "MZ"));
            file ("ipp_srn.dll", program (3145728, "MZ"));
            file ("ipp_srn64.dll", program (3670016, "MZ"));
            file ("Uninstall.exe", program (98304, "MZ"));
        }

        void presets()
        {
            static const char* const banks[] = { "Bass", "Lead", "Pad", "Pluck", "Keys", "FX", "Arp", "Drone", "Bell", "Choir", "Sweep" };
            static const char* const words[] = { "Glass", "Deep", "Warm", "Hollow", "Bright", "Dark", "Soft",
                                                 "Metallic", "Breathy", "Wide", "Vintage", "Spectral", "Grainy" };

            folder ("data/presets/");

            for (int i = 0; i < 275; ++i)
            {
                String name;
                name << banks[i % 11] << " - " << words[(i / 11) % 13] << " " << (i / 143 + 1) << "." << (i % 7);
                file ("data/presets/" + name + ".srn", preset (name, 60 + random.nextInt (90)));
            }
        }

        void meshFiles (const String& folderName, const StringArray& names, const String& extension, bool text)
        {
            for (auto& n : names)
            {
                auto path = "data/mesh/" + folderName + n + extension;

                if (text)
                    file (path, curve (extension, 60 + random.nextInt (120)));
                else
                    file (path, noise ((size_t) (16384 + random.nextInt (98304)), "SRNM"));
            }
        }

        void meshes()
        {
            folder ("data/mesh/");

            folder ("data/mesh/df/");
            folder ("data/mesh/df/basic/");
            meshFiles ("df/basic/", { "Flat", "Slope 1", "Slope 2" }, ".df", false);
            folder ("data/mesh/df/decays/");
            meshFiles ("df/decays/", { "Fast", "Slow 0.5" }, ".df", false);
            folder ("data/mesh/df/noisiness/");
            meshFiles ("df/noisiness/", { "Air", "Hiss 2" }, ".df", false);
            folder ("data/mesh/df/spectra/");
            meshFiles ("df/spectra/", { "Odd Harmonics", "Even Harmonics", "Comb 1.5" }, ".df", false);

            folder ("data/mesh/env/");
            folder ("data/mesh/env/pitch/");
            meshFiles ("env/pitch/", { "Drop", "Rise", "Vibrato 1", "Vibrato 2", "Wobble" }, ".env", true);
            folder ("data/mesh/env/scratch/");
            meshFiles ("env/scratch/", { "Scratch 1", "Scratch 2", "Back and Forth", "Stutter", "Tape Stop" }, ".env", true);
            folder ("data/mesh/env/volume/");
            meshFiles ("env/volume/", { "ADSR", "Gate", "Pluck", "Swell", "Tremolo 4.0", "Reverse" }, ".env", true);

            folder ("data/mesh/f3d/");
            meshFiles ("f3d/", { "Sweep 1" }, ".f3d", false);
            folder ("data/mesh/f3d/Additive/");
            meshFiles ("f3d/Additive/", { "Saw Stack", "Organ 8.4", "Bell Partials", "Square Build" }, ".f3d", false);
            folder ("data/mesh/f3d/Filter/");
            meshFiles ("f3d/Filter/", { "Lowpass Sweep", "Band Morph", "Notch 2", "Resonant 1.2" }, ".f3d", false);
            folder ("data/mesh/f3d/Formants/");
            meshFiles ("f3d/Formants/", { "A to E", "O.U", "Choir 1", "Whisper" }, ".f3d", false);
            folder ("data/mesh/f3d/Phase/");
            meshFiles ("f3d/Phase/", { "Drift", "Spread 3", "Phaser" }, ".f3d", false);

            folder ("data/mesh/ir/");
            meshFiles ("ir/", { "Room", "Hall 2.5s", "Plate", "Spring", "Chamber", "Cathedral" }, ".ir", false);
            folder ("data/mesh/ir/Amp/");
            meshFiles ("ir/Amp/", { "Combo 1x12", "Stack 4x12", "Bass 8x10", "Tweed", "Tube Bright", "Small Radio" }, ".ir", false);
            folder ("data/mesh/ir/Filter/");
            meshFiles ("ir/Filter/", { "Telephone", "Vowel A", "Vowel O", "Comb 5ms", "Allpass", "Tilt" }, ".ir", false);
            folder ("data/mesh/ir/Instrument/");
            folder ("data/mesh/ir/Misc/");
            meshFiles ("ir/Misc/", { "Bottle", "Pipe", "Can", "Box 1", "Box 2", "Tin Foil", "Cardboard", "Glass 0.3" }, ".ir", false);

            folder ("data/mesh/surf/");
            meshFiles ("surf/", { "Sine", "Morph 1", "Morph 2", "Fold 3.5" }, ".surf", false);
            folder ("data/mesh/surf/saw/");
            meshFiles ("surf/saw/", { "Saw 1", "Saw 2", "Supersaw", "Saw Sync", "Soft Saw" }, ".surf", false);
            folder ("data/mesh/surf/square/");
            meshFiles ("surf/square/", { "Square", "Pulse 25", "Pulse 12.5", "PWM", "Hollow" }, ".surf", false);

            folder ("data/mesh/ws/");
            meshFiles ("ws/", { "Soft Clip", "Hard Clip", "Tube", "Fold", "Bit 8", "Asym 1.5", "Rectify" }, ".ws", true);
        }

        MemoryBlock tutorial (const String& title, int steps)
        {
            String text;
            text << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Tutorial title=\"" << title << "\">\n";

            for (int i = 1; i <= steps; ++i)
                text << "  <Step number=\"" << i << "\">\n    <Text>Step " << i << " of " << title
                     << ": open the mesh editor, select the highlighted layer and move the marked point to "
                     << number (0.0, 100.0) << " percent, then listen to how the timbre changes.</Text>\n"
                     << "    <Highlight x=\"" << random.nextInt (800) << "\" y=\"" << random.nextInt (600) << "\"/>\n  </Step>\n";

            text << "</Tutorial>\n";
            return MemoryBlock (text.toRawUTF8(), text.getNumBytesAsUTF8());
        }

        void tutorials()
        {
            folder ("data/tutorials/");
            file ("data/tutorials/1. Intro Tutorial.xml", tutorial ("Intro Tutorial", 40));
            file ("data/tutorials/2. Spectral Editing.xml", tutorial ("Spectral Editing", 60));
            file ("data/tutorials/3. Mesh Morphing.xml", tutorial ("Mesh Morphing", 55));
            file ("data/tutorials/4. Performance Tips.xml", tutorial ("Performance Tips", 30));

            for (auto name : { "Intro Demo", "Spectral Pad", "Morph 1", "Morph 2", "Final Mix" })
                file ("data/tutorials/" + String (name) + ".ogg", noise ((size_t) (520000 + random.nextInt (360000)), "OggS"));
        }

        // Sizes the largest placeholder so that the total unpacked size is exactly the
        // product's, whatever programs the build supplied: it grows, or is cut when the build's
        // programs are larger than their placeholders (down to 4 KiB).
        void padToTotal()
        {
            int64 total = 0;

            for (auto& e : entries)
                total += (int64) e.data.getSize();

            auto& grown = entries[1];
            jassert (grown.name == "Sorna64.dll");

            if (total <= totalUnpacked)
            {
                auto extra = program ((size_t) (totalUnpacked - total), "");
                grown.data.append (extra.getData(), extra.getSize());
            }
            else
            {
                const auto size = (int64) grown.data.getSize();
                grown.data.setSize ((size_t) jmax ((int64) 4096, size - (total - totalUnpacked)));
            }
        }

        static inline const std::vector<String> parameterNames { "Osc Level", "Osc Pitch", "Mesh Position", "Mesh Morph",
                                                                 "Filter Cutoff", "Filter Resonance", "Env Attack",
                                                                 "Env Decay", "Env Sustain", "Env Release",
                                                                 "LFO Rate", "LFO Depth", "Spread", "Unison" };
    };

    //==============================================================================
    bool addFolder (const File& root, const File& folderToAdd, std::vector<Entry>& entries)
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

                entries.push_back ({ name + "/", {}, toZipTime (f.getLastModificationTime()) });

                if (! addFolder (root, f, entries))
                    return false;
            }
            else
            {
                Entry e { name, {}, toZipTime (f.getLastModificationTime()) };

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

    //==============================================================================
    // Entry facts that JUCE's ZipFile does not expose: the CRC-32 and the method.
    struct DirectoryRecord
    {
        String name;
        uint32 crc = 0;
        int method = 0;
    };

    uint32 readLE32 (const uint8* p)  { return ByteOrder::littleEndianInt (p); }
    int readLE16 (const uint8* p)     { return ByteOrder::littleEndianShort (p); }

    // Reads the central directory; returns false when the archive's end record or directory is
    // missing or cut short.
    bool readDirectory (const MemoryBlock& zip, std::vector<DirectoryRecord>& records)
    {
        auto* data = static_cast<const uint8*> (zip.getData());
        auto size = zip.getSize();

        if (size < 22)
            return false;

        for (auto end = (int64) size - 22; end >= jmax ((int64) 0, (int64) size - 22 - 0xffff); --end)
        {
            auto* eocd = data + end;

            if (readLE32 (eocd) != 0x06054b50)
                continue;

            auto count = readLE16 (eocd + 10);
            size_t pos = readLE32 (eocd + 16);

            for (int i = 0; i < count; ++i)
            {
                if (pos + 46 > (size_t) end || readLE32 (data + pos) != 0x02014b50)
                    return false;

                auto nameLength = (size_t) readLE16 (data + pos + 28);

                if (pos + 46 + nameLength > (size_t) end)
                    return false;

                records.push_back ({ String::fromUTF8 ((const char*) data + pos + 46, (int) nameLength),
                                     readLE32 (data + pos + 16), readLE16 (data + pos + 10) });
                pos += 46 + nameLength + (size_t) readLE16 (data + pos + 30) + (size_t) readLE16 (data + pos + 32);
            }

            return true;
        }

        return false;
    }

    // Why a name could write outside the unpacking folder, or mean something else on Windows.
    String unsafeNameReason (const String& name)
    {
        if (name.isEmpty())
            return "an entry has an empty name";

        auto quoted = name.quoted();

        if (name.containsChar ('\\'))
            return quoted + " contains a backslash (use \"/\" between folders)";

        if (name.startsWithChar ('/'))
            return quoted + " is an absolute path";

        if (name.containsChar (':'))
            return quoted + " contains a colon (a drive letter such as \"C:\" or a stream name)";

        if (StringArray::fromTokens (name, "/", "").contains (".."))
            return quoted + " leaves its folder through \"..\"";

        return {};
    }

    int check (const File& zipFile)
    {
        StringArray problems;
        MemoryBlock bytes;
        std::vector<DirectoryRecord> records;

        if (! zipFile.loadFileAsData (bytes))
            problems.add ("cannot read the file");
        else if (! readDirectory (bytes, records) || records.empty())
            problems.add ("not a ZIP archive, or one without entries");

        MemoryInputStream in (bytes, false);
        ZipFile zip (in);

        if (problems.isEmpty() && zip.getNumEntries() != (int) records.size())
            problems.add ("the archive's central directory is damaged");

        const bool readable = problems.isEmpty();
        std::map<String, String> byFoldedName;
        StringArray present;
        int64 unpacked = 0;

        for (int i = 0; readable && i < (int) records.size(); ++i)
        {
            auto& record = records[(size_t) i];
            auto& name = record.name;

            auto reason = unsafeNameReason (name);

            if (reason.isNotEmpty())
            {
                problems.add (reason);
                continue;
            }

            // Windows folds letter case, so two spellings of one path would land in one place.
            auto path = name.trimCharactersAtEnd ("/");
            auto components = StringArray::fromTokens (path, "/", "");

            for (int depth = 1; depth <= components.size(); ++depth)
            {
                auto prefix = components.joinIntoString ("/", 0, depth);
                auto& first = byFoldedName[prefix.toLowerCase()];

                if (first.isEmpty())
                    first = prefix;
                else if (first != prefix)
                    problems.addIfNotAlreadyThere (first.quoted() + " and " + prefix.quoted()
                                                   + " differ only in letter case (one would replace the other on Windows)");
            }

            if (present.contains (name))
                problems.add (name.quoted() + " appears twice");

            present.add (name);

            if (record.method != 0 && record.method != 8)
            {
                problems.add (name.quoted() + " uses compression method " + String (record.method) + " (only stored and deflated are read)");
                continue;
            }

            // Inflates every entry, so that a damaged archive fails the build, not an installation.
            std::unique_ptr<InputStream> entryStream (zip.createStreamForEntry (i));
            HeapBlock<uint8> buffer (65536);
            uLong crc = crc32 (0, nullptr, 0);
            int64 size = 0;

            for (int n; entryStream != nullptr && (n = entryStream->read (buffer, 65536)) > 0;)
            {
                crc = crc32 (crc, buffer, (uInt) n);
                size += n;
            }

            if (entryStream == nullptr || (uint32) crc != record.crc || size != zip.getEntry (i)->uncompressedSize)
                problems.add (name.quoted() + " is damaged (its contents do not match its checksum)");

            unpacked += size;
        }

        if (readable)
        {
            auto has = [&present] (const String& required)
            {
                if (! required.endsWithChar ('/'))
                    return present.contains (required);

                for (auto& n : present)
                    if (n.startsWith (required))
                        return true;

                return false;
            };

            for (auto required : { "Sorna.dll", "Sorna64.dll", "Sorna.vst3", "Sorna64.vst3", "Sorna.exe",
                                   "ipp_srn.dll", "ipp_srn64.dll", "Uninstall.exe",
                                   "data/presets/", "data/mesh/", "data/tutorials/" })
                if (! has (required))
                    problems.add ("missing " + String (required).quoted() + ", which the installer needs");
        }

        if (problems.isEmpty())
        {
            std::cout << "payload_tool: " << zipFile.getFullPathName() << " is a usable payload ("
                      << records.size() << " entries, " << unpacked << " bytes unpacked)\n";
            return 0;
        }

        std::cerr << "payload_tool: " << zipFile.getFullPathName() << " cannot be the installer's payload:\n";

        for (auto& p : problems)
            std::cerr << "  " << p << "\n";

        return 1;
    }

    int usage()
    {
        std::cerr << "usage: payload_tool demo <out.zip> [ENTRY=PATH ...]\n"
                     "       payload_tool zip <folder> <out.zip> [ENTRY=PATH ...]\n"
                     "       payload_tool check <zip>\n"
                     "       payload_tool content-list <zip> <out.txt>\n";
        return 2;
    }

    File argumentFile (const String& arg)
    {
        return File::getCurrentWorkingDirectory().getChildFile (arg);
    }

    // Reads the ENTRY=PATH arguments from index first on, with the file's bytes and time.
    bool readSupplied (const StringArray& args, int first, std::vector<Entry>& supplied)
    {
        for (int i = first; i < args.size(); ++i)
        {
            auto name = args[i].upToFirstOccurrenceOf ("=", false, false);
            auto file = argumentFile (args[i].fromFirstOccurrenceOf ("=", false, false));
            Entry e { name, {}, toZipTime (file.getLastModificationTime()) };

            if (! args[i].containsChar ('=') || name.isEmpty() || name.endsWithChar ('/'))
            {
                std::cerr << "payload_tool: " << args[i] << " is not ENTRY=PATH\n";
                return false;
            }

            if (! file.existsAsFile() || ! file.loadFileAsData (e.data))
            {
                std::cerr << "payload_tool: cannot read " << file.getFullPathName() << " for " << name << "\n";
                return false;
            }

            supplied.push_back (std::move (e));
        }

        return true;
    }

    int makeDemo (const File& out, const std::vector<Entry>& supplied)
    {
        const auto required = Product::requiredPayloadEntries();

        for (auto& e : supplied)
        {
            if (! required.contains (e.name))
            {
                std::cerr << "payload_tool: the demo has no entry " << e.name.quoted() << " to replace\n";
                return 1;
            }
        }

        return writeArchive (DemoPayload().build (supplied), out) ? 0 : 1;
    }

    // The folder's own file wins: a product that ships its own uninstaller keeps it.
    int zipFolder (const File& folder, const File& out, const std::vector<Entry>& supplied)
    {
        if (! folder.isDirectory())
        {
            std::cerr << "payload_tool: " << folder.getFullPathName() << " is not a folder\n";
            return 1;
        }

        std::vector<Entry> entries;

        if (! addFolder (folder, folder, entries))
            return 1;

        for (auto& s : supplied)
        {
            const auto own = std::any_of (entries.begin(), entries.end(),
                                          [&s] (const Entry& e) { return e.name == s.name; });

            if (! own)
                entries.push_back (s);
        }

        return writeArchive (entries, out) ? 0 : 1;
    }
}

int main (int argc, char* argv[])
{
    juce::StringArray args (argv + 1, argc - 1);
    std::vector<Entry> supplied;

    if (args.size() >= 2 && args[0] == "demo")
        return readSupplied (args, 2, supplied) ? makeDemo (argumentFile (args[1]), supplied) : 1;

    if (args.size() >= 3 && args[0] == "zip")
        return readSupplied (args, 3, supplied) ? zipFolder (argumentFile (args[1]), argumentFile (args[2]), supplied) : 1;

    if (args.size() == 2 && args[0] == "check")
        return check (argumentFile (args[1]));

    if (args.size() == 3 && args[0] == "content-list")
        return writeContentList (argumentFile (args[1]), argumentFile (args[2]));

    return usage();
}
