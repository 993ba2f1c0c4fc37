#include "platform/linux/RegistryDocument.h"

#include <algorithm>
#include "platform/linux/Utf16.h"

using namespace juce;

namespace
{
    const String headerLine ("Windows Registry Editor Version 5.00");
    const String oldHeaderLine ("REGEDIT4");

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

        bool terminated = false;
        return Utf16::read (static_cast<const uint8*> (bytes.getData()), bytes.getDataSize(), result, terminated);
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
        Utf16::write (utf16, value);
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
}

//==============================================================================
bool RegistryDocument::Entry::isBlank() const
{
    for (auto& line : lines)
        if (line.trim().isNotEmpty())
            return false;

    return true;
}

RegistryDocument::Entry RegistryDocument::Entry::blankLine()
{
    Entry entry;
    entry.lines.add ({});
    return entry;
}

RegistryDocument::ValuePath RegistryDocument::splitValuePath (const String& path)
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

RegistryDocument::Entry RegistryDocument::parseEntry (const StringArray& lines, int& index)
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

RegistryDocument RegistryDocument::parse (const String& text)
{
    RegistryDocument doc;
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
bool RegistryDocument::removeKey (const String& key)
{
    const auto before = blocks.size();

    blocks.erase (std::remove_if (blocks.begin() + 1, blocks.end(), [&key] (const Block& block)
                  {
                      return block.key.equalsIgnoreCase (key) || block.key.startsWithIgnoreCase (key + "\\");
                  }),
                  blocks.end());

    return blocks.size() != before;
}

bool RegistryDocument::removeValue (const ValuePath& path)
{
    bool changed = false;

    for (auto& block : blocks)
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

    return changed;
}

bool RegistryDocument::holdsAnything (const String& key) const
{
    for (auto& block : blocks)
    {
        if (block.key.startsWithIgnoreCase (key + "\\"))
            return true;

        if (block.key.equalsIgnoreCase (key))
            for (auto& entry : block.entries)
                if (entry.isValue)
                    return true;
    }

    return false;
}

const RegistryDocument::Entry* RegistryDocument::findValue (const ValuePath& path) const
{
    const Entry* found = nullptr;

    for (auto& block : blocks)
        if (block.key.isNotEmpty() && block.key.equalsIgnoreCase (path.key))
            for (auto& entry : block.entries)
                if (entry.isValue && entry.name.equalsIgnoreCase (path.name))
                    found = &entry;

    return found;
}

RegistryDocument::Entry* RegistryDocument::findValue (const ValuePath& path)
{
    return const_cast<Entry*> (static_cast<const RegistryDocument&> (*this).findValue (path));
}

RegistryDocument::Block* RegistryDocument::findLastBlock (const String& key)
{
    Block* found = nullptr;

    for (auto& block : blocks)
        if (block.key.isNotEmpty() && block.key.equalsIgnoreCase (key))
            found = &block;

    return found;
}

bool RegistryDocument::getValue (const ValuePath& path, String& result) const
{
    auto* entry = findValue (path);
    return entry != nullptr && readValue (entry->data, result);
}

void RegistryDocument::setValue (const ValuePath& path, const String& value)
{
    Entry entry;
    entry.lines = valueLines (path.name, value);
    entry.name = path.name;
    entry.isValue = true;

    if (auto* existing = findValue (path))
    {
        *existing = entry;
    }
    else if (auto* block = findLastBlock (path.key))
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
        auto& last = blocks.back();

        if (last.entries.empty() || ! last.entries.back().isBlank())
            last.entries.push_back (Entry::blankLine());

        Block added;
        added.headerLine = "[" + path.key + "]";
        added.key = path.key;
        added.entries.push_back (entry);
        added.entries.push_back (Entry::blankLine());
        blocks.push_back (std::move (added));
    }
}

StringArray RegistryDocument::getLines() const
{
    StringArray lines (headerLine);

    for (auto& block : blocks)
    {
        if (block.headerLine.isNotEmpty())
            lines.add (block.headerLine);

        for (auto& entry : block.entries)
            lines.addArray (entry.lines);
    }

    return lines;
}
