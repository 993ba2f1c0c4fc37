#pragma once

#include <juce_core/juce_core.h>

#include <cstdlib>
#include <string>

// Every fuzz target works in a scratch home of its own, made once per process below
// $SORNA_FUZZ_SCRATCH (scripts/fuzz sets it) or /tmp, so that the settings store and the
// registry stand-in find their files there and nowhere else.
inline juce::File fuzzScratchHome()
{
    static const juce::File home = []
    {
        const auto* scratch = std::getenv ("SORNA_FUZZ_SCRATCH");
        auto pattern = std::string (scratch != nullptr ? scratch : "/tmp") + "/sorna-fuzz-XXXXXX";
        const juce::File folder (juce::String (::mkdtemp (pattern.data())));
        ::setenv ("HOME", folder.getFullPathName().toRawUTF8(), 1);
        ::setenv ("TMPDIR", folder.getChildFile ("tmp").getFullPathName().toRawUTF8(), 1);
        ::unsetenv ("XDG_CONFIG_HOME");
        folder.getChildFile ("tmp").createDirectory();
        folder.getChildFile (".config").createDirectory();
        return folder;
    }();

    return home;
}

inline void writeFuzzFile (const juce::File& file, const uint8_t* data, size_t size)
{
    file.getParentDirectory().createDirectory();
    file.replaceWithData (data, size);
}
