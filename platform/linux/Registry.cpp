#include "platform/Registry.h"
#include "platform/SpecialFolders.h"
#include "product/Product.h"

#include <vector>

// The stand-in keeps the records in a registry export file, so that Windows' or Wine's
// "regedit /S" can import what it holds. The file is written the way regedit itself exports
// version 5.00 files: UTF-16LE with a byte order mark and CR LF line ends. That is the only
// encoding both regedits read non-ASCII text from correctly (a file without the mark is taken
// as the ANSI code page). Reading is lenient: UTF-8 (with or without its mark) is accepted too.
using namespace juce;

namespace
{
    const String headerLine ("Windows Registry Editor Version 5.00");
    const String oldHeaderLine ("REGEDIT4");

    // Far beyond anything the installer writes; a larger file is not read at all, so a runaway
    // file cannot exhaust memory.
    constexpr int64 largestFile = 32 * 1024 * 1024;

    CriticalSection& fileLock()
    {
        static CriticalSection lock;
        return lock;
    }

    // The hives and their short names, as the Windows implementation accepts them.
    String fullHiveName (const String& hive)
    {
        static const char* const hives[][2] = { { "HKEY_CURRENT_USER", "HKCU" },
                                                { "HKEY_LOCAL_MACHINE", "HKLM" },
                                                { "HKEY_CLASSES_ROOT", "HKCR" },
                                                { "HKEY_USERS", "HKU" } };

        for (auto& names : hives)
            if (hive.equalsIgnoreCase (names[0]) || hive.equalsIgnoreCase (names[1]))
                return names[0];

        return {};
    }

    // A key name with its hive spelled in full; empty for an unknown hive.
    String normaliseKeyName (const String& key)
    {
        const auto slash = key.indexOfChar ('\\');
        const auto hive = fullHiveName (slash < 0 ? key : key.substring (0, slash));

        if (hive.isEmpty())
            return {};

        return slash < 0 ? hive : hive + key.substring (slash);
    }

    struct ValuePath
    {
        String key, name;
        bool valid = false;
    };

    // The hive is the text up to the first backslash and the value name the text after the
    // last one; a path ending in a backslash names the key's default value.
    ValuePath splitValuePath (const String& path)
    {
        ValuePath result;
        const auto firstSlash = path.indexOfChar ('\\');

        if (firstSlash <= 0)
            return result;

        const auto hive = fullHiveName (path.substring (0, firstSlash));

        if (hive.isEmpty())
            return result;

        const auto rest = path.substring (firstSlash + 1);
        const auto lastSlash = rest.lastIndexOfChar ('\\');

        result.name = rest.substring (lastSlash + 1);
        result.key = lastSlash < 0 ? hive : hive + "\\" + rest.substring (0, lastSlash);
        result.valid = true;
        return result;
    }

    //==============================================================================
    // Text of the file: UTF-16 with a byte order mark, else UTF-8 or Windows-1252. A file with a
    // NUL character is no text file at all.
    bool decodeText (const MemoryBlock& data, String& text)
    {
        const auto* bytes = static_cast<const uint8*> (data.getData());
        const auto size = data.getSize();

        const bool littleEndian = size >= 2 && bytes[0] == 0xff && bytes[1] == 0xfe;
        const bool bigEndian    = size >= 2 && bytes[0] == 0xfe && bytes[1] == 0xff;

        if (littleEndian || bigEndian)
        {
            std::vector<juce_wchar> chars;
            chars.reserve (size / 2);

            auto unitAt = [&] (size_t i) -> uint32
            {
                return littleEndian ? (uint32) bytes[i] | ((uint32) bytes[i + 1] << 8)
                                    : (uint32) bytes[i + 1] | ((uint32) bytes[i] << 8);
            };

            for (size_t i = 2; i + 1 < size; i += 2)
            {
                auto unit = unitAt (i);

                if (unit == 0)
                    return false;

                if (unit >= 0xd800 && unit <= 0xdbff && i + 3 < size)
                {
                    const auto next = unitAt (i + 2);

                    if (next >= 0xdc00 && next <= 0xdfff)
                    {
                        chars.push_back ((juce_wchar) (0x10000 + ((unit - 0xd800) << 10) + (next - 0xdc00)));
                        i += 2;
                        continue;
                    }
                }

                if (unit >= 0xd800 && unit <= 0xdfff)
                    unit = 0xfffd;

                chars.push_back ((juce_wchar) unit);
            }

            chars.push_back (0);
            text = String (CharPointer_UTF32 (chars.data()));
            return true;
        }

        for (size_t i = 0; i < size; ++i)
            if (bytes[i] == 0)
                return false;

        text = String::createStringFromData (data.getData(), (int) size);
        return true;
    }

    bool readWholeFile (const File& file, MemoryBlock& data)
    {
        if (! file.existsAsFile() || file.getSize() > largestFile)
            return false;

        FileInputStream in (file);

        if (! in.openedOk())
            return false;

        in.readIntoMemoryBlock (data, largestFile + 1);
        return in.getStatus().wasOk() && (int64) data.getSize() <= largestFile;
    }

    // Little-endian units, surrogate pairs for characters beyond the basic plane.
    bool writeUTF16 (OutputStream& out, const String& text)
    {
        for (auto* unit = text.toUTF16().getAddress(); *unit != 0; ++unit)
            if (! out.writeShort ((short) *unit))
                return false;

        return true;
    }

    //==============================================================================
    // The parsers walk character pointers rather than indexes: indexing a String is linear in
    // the index, and a file may hold lines of many megabytes.
    using CharPointer = String::CharPointerType;

    CharPointer skipBlanks (CharPointer p)
    {
        while (*p == ' ' || *p == '\t')
            ++p;

        return p;
    }

    // Nothing but blanks or a comment may follow a value.
    bool onlyCommentFollows (CharPointer p)
    {
        p = skipBlanks (p);
        return *p == 0 || *p == ';';
    }

    // Reads a double-quoted text starting at p (the opening quote) and moves p past the closing
    // quote. A backslash escapes a backslash or a quote; Wine's "\n" and "\r" are read too.
    bool readQuoted (CharPointer& p, String& result)
    {
        if (*p != '"')
            return false;

        ++p;
        MemoryOutputStream out;

        for (;;)
        {
            auto c = p.getAndAdvance();

            if (c == 0)
                return false;

            if (c == '"')
            {
                result = out.toString();
                return true;
            }

            if (c == '\\')
            {
                c = p.getAndAdvance();

                if (c == 0)
                    return false;

                if (c == 'n')       c = '\n';
                else if (c == 'r')  c = '\r';
            }

            out.appendUTF8Char (c);
        }
    }

    //==============================================================================
    // One line of a key, or a value whose data continues over several lines ("hex" data).
    struct Entry
    {
        StringArray lines;
        String name;           // the value name, empty for the default value "@"
        String data;           // the text after "=", continuation lines joined
        bool isValue = false;

        bool isBlank() const
        {
            for (auto& line : lines)
                if (line.trim().isNotEmpty())
                    return false;

            return true;
        }

        static Entry blankLine()
        {
            Entry entry;
            entry.lines.add ({});
            return entry;
        }
    };

    // A "[key]" line and what follows it up to the next key. The first block of a file holds the
    // lines before the first key and has no key.
    struct Block
    {
        String headerLine;
        String key;            // the full key name; empty for the first block and for "[-key]" deletions
        std::vector<Entry> entries;
    };

    Entry parseEntry (const StringArray& lines, int& index)
    {
        Entry entry;
        const auto& line = lines[index];
        entry.lines.add (line);

        auto p = skipBlanks (line.getCharPointer());

        if (*p == '@')
            ++p;
        else if (! readQuoted (p, entry.name))
            return entry;

        p = skipBlanks (p);

        if (*p != '=')
            return entry;

        entry.isValue = true;
        entry.data = String (skipBlanks (p + 1));

        // Binary data continues on the next line after a closing backslash.
        if (entry.data.startsWithIgnoreCase ("hex"))
        {
            StringArray pieces;
            auto piece = entry.data.trimEnd();

            while (piece.endsWithChar ('\\') && index + 1 < lines.size())
            {
                pieces.add (piece.dropLastCharacters (1));
                entry.lines.add (lines[++index]);
                piece = lines[index].trim();
            }

            pieces.add (piece);
            entry.data = pieces.joinIntoString ({});
        }

        return entry;
    }

    struct Document
    {
        std::vector<Block> blocks { Block() };

        static Document load (const File& file)
        {
            Document doc;
            MemoryBlock data;
            String text;

            if (! readWholeFile (file, data) || ! decodeText (data, text))
                return doc;

            auto lines = StringArray::fromLines (text);

            if (lines.isEmpty())
                return doc;

            if (lines[lines.size() - 1].isEmpty())
                lines.remove (lines.size() - 1);

            const auto header = lines[0].trim();

            if (header != headerLine && header != oldHeaderLine)
                return doc;

            for (int i = 1; i < lines.size(); ++i)
            {
                const auto trimmed = lines[i].trimStart();

                if (trimmed.startsWithChar ('['))
                {
                    Block block;
                    block.headerLine = lines[i];

                    const auto close = trimmed.lastIndexOfChar (']');
                    const auto name = close > 0 ? trimmed.substring (1, close) : String();

                    if (! name.startsWithChar ('-'))
                        block.key = normaliseKeyName (name);

                    doc.blocks.push_back (std::move (block));
                }
                else
                {
                    doc.blocks.back().entries.push_back (parseEntry (lines, i));
                }
            }

            return doc;
        }

        // The last definition of a value wins, as it does when regedit imports the file.
        Entry* findValue (const ValuePath& path)
        {
            Entry* found = nullptr;

            for (auto& block : blocks)
                if (block.key.isNotEmpty() && block.key.equalsIgnoreCase (path.key))
                    for (auto& entry : block.entries)
                        if (entry.isValue && entry.name.equalsIgnoreCase (path.name))
                            found = &entry;

            return found;
        }

        Block* findLastBlock (const String& key)
        {
            Block* found = nullptr;

            for (auto& block : blocks)
                if (block.key.isNotEmpty() && block.key.equalsIgnoreCase (key))
                    found = &block;

            return found;
        }

        // UTF-16LE with its byte order mark, CR LF after every line.
        bool write (OutputStream& out) const
        {
            auto writeLine = [&out] (const String& line) { return writeUTF16 (out, line + "\r\n"); };

            if (! out.write ("\xff\xfe", 2) || ! writeLine (headerLine))
                return false;

            for (auto& block : blocks)
            {
                if (block.headerLine.isNotEmpty() && ! writeLine (block.headerLine))
                    return false;

                for (auto& entry : block.entries)
                    for (auto& line : entry.lines)
                        if (! writeLine (line))
                            return false;
            }

            return true;
        }
    };

    //==============================================================================
    // The value's decimal text as the Windows implementation gives it (a signed 32-bit number).
    bool readDword (const String& data, String& result)
    {
        if (! data.startsWithIgnoreCase ("dword:"))
            return false;

        auto p = data.getCharPointer() + 6;
        uint32 value = 0;
        int digits = 0;

        for (; CharacterFunctions::getHexDigitValue (*p) >= 0; ++p)
        {
            if (++digits > 8)
                return false;

            value = (value << 4) | (uint32) CharacterFunctions::getHexDigitValue (*p);
        }

        if (digits == 0 || ! onlyCommentFollows (p))
            return false;

        result = String ((int) value);
        return true;
    }

    // "hex(1):" data is a text value too (the stand-in writes texts with line breaks that way):
    // UTF-16LE bytes up to a NUL character.
    bool readHexText (const String& data, String& result)
    {
        if (! data.startsWithIgnoreCase ("hex(1):"))
            return false;

        auto bytesText = data.substring (7);
        const auto comment = bytesText.indexOfChar (';');

        if (comment >= 0)
            bytesText = bytesText.substring (0, comment);

        MemoryOutputStream bytes;

        for (auto& token : StringArray::fromTokens (bytesText, ",", {}))
        {
            const auto digits = token.trim();

            if (digits.isEmpty() || digits.length() > 2 || ! digits.containsOnly ("0123456789abcdefABCDEF"))
                return false;

            bytes.writeByte ((char) digits.getHexValue32());
        }

        std::vector<CharPointer_UTF16::CharType> units;
        const auto* raw = static_cast<const uint8*> (bytes.getData());

        for (size_t i = 0; i + 1 < bytes.getDataSize(); i += 2)
        {
            const auto unit = (uint16) (raw[i] | (raw[i + 1] << 8));

            if (unit == 0)
                break;

            units.push_back ((CharPointer_UTF16::CharType) unit);
        }

        units.push_back (0);

        if (! CharPointer_UTF16::isValidString (units.data(), (int) (units.size() * sizeof (units[0]))))
            return false;

        result = String (CharPointer_UTF16 (units.data()));
        return true;
    }

    bool readValue (const String& data, String& result)
    {
        if (data.startsWithChar ('"'))
        {
            auto p = data.getCharPointer();
            return readQuoted (p, result) && onlyCommentFollows (p);
        }

        return readDword (data, result) || readHexText (data, result);
    }

    //==============================================================================
    String quoted (const String& text)
    {
        return "\"" + text.replace ("\\", "\\\\").replace ("\"", "\\\"") + "\"";
    }

    // A text value on one line, or as "hex(1):" bytes when it holds a line break, which the
    // quoted form cannot carry in a way both regedits read.
    StringArray valueLines (const String& name, const String& value)
    {
        const auto prefix = (name.isEmpty() ? String ("@") : quoted (name)) + "=";

        if (! value.containsAnyOf ("\r\n"))
            return StringArray (prefix + quoted (value));

        MemoryOutputStream utf16;
        writeUTF16 (utf16, value);
        utf16.writeShort (0);

        StringArray lines;
        auto line = prefix + "hex(1):";
        const auto* bytes = static_cast<const uint8*> (utf16.getData());

        for (size_t i = 0; i < utf16.getDataSize(); ++i)
        {
            const auto piece = String::toHexString (bytes[i]).paddedLeft ('0', 2)
                             + (i + 1 < utf16.getDataSize() ? "," : "");

            if (line.length() + piece.length() > 77 && ! line.endsWithChar (':'))
            {
                lines.add (line + "\\");
                line = "  ";
            }

            line << piece;
        }

        lines.add (line);
        return lines;
    }

    bool writeDocument (const File& file, const Document& doc)
    {
        if (! file.getParentDirectory().createDirectory())
            return false;

        TemporaryFile temp (file);

        {
            FileOutputStream out (temp.getFile());

            if (! out.openedOk())
                return false;

            const bool ok = doc.write (out);
            out.flush();

            // A full disk can cut the last write short without setting the stream's status.
            if (! ok || out.getStatus().failed() || temp.getFile().getSize() != out.getPosition())
                return false;
        }

        return temp.overwriteTargetFileWithTemporary();
    }
}

//==============================================================================
File Registry::standInFile()
{
    return SpecialFolders::applicationData().getChildFile (Product::maker).getChildFile ("registry.reg");
}

String Registry::getValue (const String& valuePath, const String& defaultValue)
{
    const auto path = splitValuePath (valuePath);

    if (! path.valid)
        return defaultValue;

    const ScopedLock sl (fileLock());
    auto doc = Document::load (standInFile());
    String result;

    if (auto* entry = doc.findValue (path))
        if (readValue (entry->data, result))
            return result;

    return defaultValue;
}

bool Registry::setValue (const String& valuePath, const String& value)
{
    const auto path = splitValuePath (valuePath);

    if (! path.valid)
        return false;

    const ScopedLock sl (fileLock());
    const auto file = standInFile();
    auto doc = Document::load (file);

    Entry entry;
    entry.lines = valueLines (path.name, value);
    entry.name = path.name;
    entry.isValue = true;

    if (auto* existing = doc.findValue (path))
    {
        *existing = entry;
    }
    else if (auto* block = doc.findLastBlock (path.key))
    {
        // After the key's last line, ahead of the blank lines that separate it from the next key.
        auto insertAt = block->entries.end();

        while (insertAt != block->entries.begin() && std::prev (insertAt)->isBlank())
            --insertAt;

        block->entries.insert (insertAt, entry);
    }
    else
    {
        // A new key goes last, a blank line before and after it, as regedit exports keys.
        auto& last = doc.blocks.back();

        if (last.entries.empty() || ! last.entries.back().isBlank())
            last.entries.push_back (Entry::blankLine());

        Block added;
        added.headerLine = "[" + path.key + "]";
        added.key = path.key;
        added.entries.push_back (entry);
        added.entries.push_back (Entry::blankLine());
        doc.blocks.push_back (std::move (added));
    }

    return writeDocument (file, doc);
}

void Registry::notifyAssociationsChanged()
{
}

//==============================================================================
// Deleting keys and values. Every definition goes, not just the last one, since an earlier
// one would otherwise come back into force. A file that holds nothing to delete is not
// rewritten, and a missing file is not created.
bool Registry::deleteKey (const String& keyPath)
{
    const auto key = normaliseKeyName (keyPath.trimCharactersAtEnd ("\\"));

    // A hive alone is not a key that can be deleted.
    if (key.isEmpty() || ! key.containsChar ('\\'))
        return false;

    const ScopedLock sl (fileLock());
    const auto file = standInFile();
    auto doc = Document::load (file);
    const auto before = doc.blocks.size();

    doc.blocks.erase (std::remove_if (doc.blocks.begin() + 1, doc.blocks.end(), [&key] (const Block& block)
                      {
                          return block.key.equalsIgnoreCase (key) || block.key.startsWithIgnoreCase (key + "\\");
                      }),
                      doc.blocks.end());

    return doc.blocks.size() == before || writeDocument (file, doc);
}

bool Registry::deleteValue (const String& valuePath)
{
    const auto path = splitValuePath (valuePath);

    if (! path.valid)
        return false;

    const ScopedLock sl (fileLock());
    const auto file = standInFile();
    auto doc = Document::load (file);
    bool changed = false;

    for (auto& block : doc.blocks)
    {
        if (block.key.isEmpty() || ! block.key.equalsIgnoreCase (path.key))
            continue;

        const auto count = block.entries.size();
        block.entries.erase (std::remove_if (block.entries.begin(), block.entries.end(), [&path] (const Entry& entry)
                             {
                                 return entry.isValue && entry.name.equalsIgnoreCase (path.name);
                             }),
                             block.entries.end());
        changed = changed || block.entries.size() != count;
    }

    return ! changed || writeDocument (file, doc);
}
