#pragma once

#include <juce_core/juce_core.h>

#include <vector>

// A registry export (".reg" file) held line by line, so that setting a value changes only that
// value's lines and keeps everything else in the file (comments, other keys, values of other
// kinds) as it was. Key and value names compare as the registry compares them: without regard to
// case, with the hive spelled in full or short ("HKCU").
class RegistryDocument
{
public:
    // A value's key (hive spelled in full) and name; the name is empty for the default value.
    struct ValuePath
    {
        juce::String key, name;
        bool valid = false;
    };

    // The hive is the text up to the first backslash and the value name the text after the
    // last one; a path ending in a backslash names the key's default value. Not valid for an
    // unknown hive.
    static ValuePath splitValuePath (const juce::String& path);

    // The document that a file's text holds; an empty one for a text without the header of a
    // version 5.00 or REGEDIT4 export.
    static RegistryDocument parse (const juce::String& text);

    // A text value as it is, a 32-bit number as its decimal text, as the Windows registry gives
    // them. False for a missing value or one of any other kind.
    bool getValue (const ValuePath& path, juce::String& result) const;

    // Sets a text value; a new value goes after its key's last line, a new key at the end.
    void setValue (const ValuePath& path, const juce::String& value);

    // Removes every definition of the key and of the keys below it, and of the value: an earlier
    // definition would otherwise come back into force. True when anything was removed.
    bool removeKey (const juce::String& key);
    bool removeValue (const ValuePath& path);

    // A key holds something while any definition of it has a value or a key below it is defined.
    bool holdsAnything (const juce::String& key) const;

    // The file's lines: the version 5.00 header, then every line as it was read or set.
    juce::StringArray getLines() const;

private:
    // One line of a key, or a value whose data continues over several lines ("hex" data).
    struct Entry
    {
        juce::StringArray lines;
        juce::String name;     // the value name, empty for the default value "@"
        juce::String data;     // the text after "=", continuation lines joined
        bool isValue = false;

        bool isBlank() const;
        static Entry blankLine();
    };

    // A "[key]" line and what follows it up to the next key. The first block of a file holds the
    // lines before the first key and has no key.
    struct Block
    {
        juce::String headerLine;
        juce::String key;      // the full key name; empty for the first block and for "[-key]" deletions
        std::vector<Entry> entries;
    };

    std::vector<Block> blocks { Block() };

    static Entry parseEntry (const juce::StringArray& lines, int& index);
    const Entry* findValue (const ValuePath& path) const;
    Entry* findValue (const ValuePath& path);
    Block* findLastBlock (const juce::String& key);
};
