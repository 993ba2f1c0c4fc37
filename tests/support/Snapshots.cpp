#include "tests/support/Snapshots.h"
#include "platform/Registry.h"
#include "platform/linux/Utf16.h"

std::set<juce::String> fileTree (const juce::File& root, bool withHidden)
{
    using juce::File;
    const auto registry = Registry::standInFile();
    const auto caches = root.getChildFile (".cache");
    std::set<juce::String> tree;

    for (const auto& f : root.findChildFiles (File::findFilesAndDirectories | (withHidden ? 0 : File::ignoreHiddenFiles), true))
    {
        if (f == registry || f == caches || f.isAChildOf (caches)
             || (f == registry.getParentDirectory() && f.getNumberOfChildFiles (File::findFilesAndDirectories) == 1
                 && registry.existsAsFile()))
            continue;

        tree.insert (f.getRelativePathFrom (root) + (f.isDirectory() ? "/" : ""));
    }

    return tree;
}

std::set<juce::String> registryRecords()
{
    juce::MemoryBlock data;
    std::set<juce::String> records;

    if (! Registry::standInFile().loadFileAsData (data) || data.getSize() < 2)
        return records;

    // UTF-16LE after its byte order mark.
    juce::String text;
    bool terminated = false;
    Utf16::read (static_cast<const juce::uint8*> (data.getData()) + 2, data.getSize() - 2, text, terminated,
                 Utf16::Order::littleEndian, Utf16::LoneSurrogates::replace);

    for (auto& line : juce::StringArray::fromLines (text))
        if (line.trim().isNotEmpty() && line != "Windows Registry Editor Version 5.00")
            records.insert (line);

    return records;
}

juce::String asText (const std::set<juce::String>& items)
{
    juce::String text;

    for (auto& item : items)
        text << item << "\n";

    return text;
}
