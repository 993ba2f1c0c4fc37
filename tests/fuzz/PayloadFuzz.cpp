// A payload archive as any bytes: opening and listing must never crash or read out of bounds,
// and unpacking small archives must never write outside its folder.
#include "install/PayloadArchive.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    const auto home = fuzzScratchHome();
    PayloadArchive archive (data, size);

    juce::int64 unpackedSize = 0;

    for (int i = 0; i < archive.getNumEntries(); ++i)
    {
        if (auto* entry = archive.getEntry (i))
            unpackedSize += juce::jmax ((juce::int64) 0, entry->uncompressedSize);

        archive.getEntryChecksum (i);
    }

    // Unpacking touches the disk: only for archives that stay small, into a fresh folder that
    // sits one level below a sentinel folder, which must stay empty.
    if (archive.getNumEntries() <= 32 && unpackedSize <= 1024 * 1024)
    {
        const auto outside = home.getChildFile ("outside");
        const auto target = outside.getChildFile ("target");
        outside.deleteRecursively();
        target.createDirectory();
        archive.unpackTo (target);

        for (const auto& entry : juce::RangedDirectoryIterator (outside, false, "*", juce::File::findFilesAndDirectories))
            if (entry.getFile() != target)
                __builtin_trap();   // something was written beside the target folder

        if (home.getNumberOfChildFiles (juce::File::findFilesAndDirectories, "*") != 3)
            __builtin_trap();   // something beside ".config", "tmp" and "outside" in the home
    }

    return 0;
}
