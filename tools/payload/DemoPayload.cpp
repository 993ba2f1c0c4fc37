#include "tools/payload/DemoPayload.h"
#include "product/Product.h"

#include <iterator>

namespace
{
    using namespace juce;

    // The demo payload: the entry layout the installer expects, with made-up contents that
    // behave like the real ones (executables compress to about a fifth, presets and documents
    // are text, audio and measured tables are incompressible). Same bytes on every run.
    class DemoPayload
    {
    public:
        std::vector<PayloadEntry> build (const std::vector<PayloadEntry>& supplied)
        {
            topLevel();

            // Placeholders are made all the same, so that the content that follows is the same
            // bytes whatever the build supplies.
            for (auto& s : supplied)
                for (auto& e : entries)
                    if (e.name == s.name)
                        e.data = s.data;

            folder (data);
            presets();
            meshes();
            tutorials();
            padToTotal();
            return std::move (entries);
        }

    private:
        static constexpr int64 totalUnpacked = 41169814;

        std::vector<PayloadEntry> entries;
        const StringArray required = Product::requiredPayloadEntries();
        const String data = String (Product::contentFolderName) + "/";
        const String presetsFolder = Product::contentEntry (Product::presetsFolderName);
        const String meshFolder = Product::contentEntry (Product::meshFolderName);
        const String tutorialsFolder = Product::contentEntry (Product::tutorialsFolderName);
        Random random { 0x536f726e61 };
        const Time stamp { 2019, 10, 4, 12, 0, 0, 0, true };

        void folder (const String& name)
        {
            entries.push_back ({ name, {}, stamp });
        }

        PayloadEntry& file (const String& name, MemoryBlock contents)
        {
            entries.push_back ({ name, std::move (contents), stamp });
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
            const auto element = String (Product::name) + "Preset";
            text << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<" << element << " name=\"" << presetName
                 << "\" version=\"" << Product::versionString() << "\">\n";

            for (int i = 0; i < parameters; ++i)
                text << "  <param id=\"p" << i << "\" name=\"" << parameterNames[(size_t) i % parameterNames.size()]
                     << " " << (i / (int) parameterNames.size() + 1) << "\" value=\"" << number (0.0, 1.0)
                     << "\" mod=\"" << number (-1.0, 1.0) << "\"/>\n";

            text << "</" << element << ">\n";
            return MemoryBlock (text.toRawUTF8(), text.getNumBytesAsUTF8());
        }

        MemoryBlock curve (const String& kind, int points)
        {
            String text;
            text << "# " << Product::name << " " << kind << "\npoints " << points << "\n";

            for (int i = 0; i < points; ++i)
                text << String (i / (double) points, 5) << " " << number (-1.0, 1.0) << " " << number (0.0, 0.5) << "\n";

            return MemoryBlock (text.toRawUTF8(), text.getNumBytesAsUTF8());
        }

        void topLevel()
        {
            // The four plug-ins (the 64-bit VST grown by padToTotal()), the stand-alone
            // application, its two dsp libraries and the uninstaller, as the product lists them.
            const size_t sizes[] = { 4210688, 4000000, 4214272, 5260800, 4702208, 3145728, 3670016, 98304 };

            for (int i = 0; i < (int) std::size (sizes); ++i)
                file (required[i], program (sizes[i], "MZ"));
        }

        void presets()
        {
            static const char* const banks[] = { "Bass", "Lead", "Pad", "Pluck", "Keys", "FX", "Arp", "Drone", "Bell", "Choir", "Sweep" };
            static const char* const words[] = { "Glass", "Deep", "Warm", "Hollow", "Bright", "Dark", "Soft",
                                                 "Metallic", "Breathy", "Wide", "Vintage", "Spectral", "Grainy" };

            folder (presetsFolder);

            for (int i = 0; i < 275; ++i)
            {
                String name;
                name << banks[i % 11] << " - " << words[(i / 11) % 13] << " " << (i / 143 + 1) << "." << (i % 7);
                file (presetsFolder + name + Product::presetExtension, preset (name, 60 + random.nextInt (90)));
            }
        }

        void meshFiles (const String& folderName, const StringArray& names, const String& extension, bool text)
        {
            for (auto& n : names)
            {
                auto path = meshFolder + folderName + n + extension;

                if (text)
                    file (path, curve (extension, 60 + random.nextInt (120)));
                else
                    file (path, noise ((size_t) (16384 + random.nextInt (98304)), "SRNM"));
            }
        }

        void meshes()
        {
            folder (meshFolder);

            folder (meshFolder + "df/");
            folder (meshFolder + "df/basic/");
            meshFiles ("df/basic/", { "Flat", "Slope 1", "Slope 2" }, ".df", false);
            folder (meshFolder + "df/decays/");
            meshFiles ("df/decays/", { "Fast", "Slow 0.5" }, ".df", false);
            folder (meshFolder + "df/noisiness/");
            meshFiles ("df/noisiness/", { "Air", "Hiss 2" }, ".df", false);
            folder (meshFolder + "df/spectra/");
            meshFiles ("df/spectra/", { "Odd Harmonics", "Even Harmonics", "Comb 1.5" }, ".df", false);

            folder (meshFolder + "env/");
            folder (meshFolder + "env/pitch/");
            meshFiles ("env/pitch/", { "Drop", "Rise", "Vibrato 1", "Vibrato 2", "Wobble" }, ".env", true);
            folder (meshFolder + "env/scratch/");
            meshFiles ("env/scratch/", { "Scratch 1", "Scratch 2", "Back and Forth", "Stutter", "Tape Stop" }, ".env", true);
            folder (meshFolder + "env/volume/");
            meshFiles ("env/volume/", { "ADSR", "Gate", "Pluck", "Swell", "Tremolo 4.0", "Reverse" }, ".env", true);

            folder (meshFolder + "f3d/");
            meshFiles ("f3d/", { "Sweep 1" }, ".f3d", false);
            folder (meshFolder + "f3d/Additive/");
            meshFiles ("f3d/Additive/", { "Saw Stack", "Organ 8.4", "Bell Partials", "Square Build" }, ".f3d", false);
            folder (meshFolder + "f3d/Filter/");
            meshFiles ("f3d/Filter/", { "Lowpass Sweep", "Band Morph", "Notch 2", "Resonant 1.2" }, ".f3d", false);
            folder (meshFolder + "f3d/Formants/");
            meshFiles ("f3d/Formants/", { "A to E", "O.U", "Choir 1", "Whisper" }, ".f3d", false);
            folder (meshFolder + "f3d/Phase/");
            meshFiles ("f3d/Phase/", { "Drift", "Spread 3", "Phaser" }, ".f3d", false);

            folder (meshFolder + "ir/");
            meshFiles ("ir/", { "Room", "Hall 2.5s", "Plate", "Spring", "Chamber", "Cathedral" }, ".ir", false);
            folder (meshFolder + "ir/Amp/");
            meshFiles ("ir/Amp/", { "Combo 1x12", "Stack 4x12", "Bass 8x10", "Tweed", "Tube Bright", "Small Radio" }, ".ir", false);
            folder (meshFolder + "ir/Filter/");
            meshFiles ("ir/Filter/", { "Telephone", "Vowel A", "Vowel O", "Comb 5ms", "Allpass", "Tilt" }, ".ir", false);
            folder (meshFolder + "ir/Instrument/");
            folder (meshFolder + "ir/Misc/");
            meshFiles ("ir/Misc/", { "Bottle", "Pipe", "Can", "Box 1", "Box 2", "Tin Foil", "Cardboard", "Glass 0.3" }, ".ir", false);

            folder (meshFolder + "surf/");
            meshFiles ("surf/", { "Sine", "Morph 1", "Morph 2", "Fold 3.5" }, ".surf", false);
            folder (meshFolder + "surf/saw/");
            meshFiles ("surf/saw/", { "Saw 1", "Saw 2", "Supersaw", "Saw Sync", "Soft Saw" }, ".surf", false);
            folder (meshFolder + "surf/square/");
            meshFiles ("surf/square/", { "Square", "Pulse 25", "Pulse 12.5", "PWM", "Hollow" }, ".surf", false);

            folder (meshFolder + "ws/");
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
            folder (tutorialsFolder);
            file (tutorialsFolder + "1. Intro Tutorial.xml", tutorial ("Intro Tutorial", 40));
            file (tutorialsFolder + "2. Spectral Editing.xml", tutorial ("Spectral Editing", 60));
            file (tutorialsFolder + "3. Mesh Morphing.xml", tutorial ("Mesh Morphing", 55));
            file (tutorialsFolder + "4. Performance Tips.xml", tutorial ("Performance Tips", 30));

            for (auto name : { "Intro Demo", "Spectral Pad", "Morph 1", "Morph 2", "Final Mix" })
                file (tutorialsFolder + name + ".ogg", noise ((size_t) (520000 + random.nextInt (360000)), "OggS"));
        }

        // Grows the largest program so that the total unpacked size is exactly the product's.
        void padToTotal()
        {
            int64 total = 0;

            for (auto& e : entries)
                total += (int64) e.data.getSize();

            auto& grown = entries[1];
            jassert (grown.name == required[1]);

            // It grows, or is cut when the build's programs are larger than their placeholders
            // (down to 4 KiB), so that the total is the product's whatever the build supplied.
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
}

std::vector<PayloadEntry> demoPayload (const std::vector<PayloadEntry>& supplied)
{
    return DemoPayload().build (supplied);
}
