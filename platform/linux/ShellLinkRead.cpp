#include "platform/ShellLink.h"
#include "platform/WholeFile.h"
#include "platform/linux/Utf16.h"

#include <algorithm>

// Reads back the binary shell link format that ShellLink.cpp writes, and that Windows writes:
// the header, an optional item list (skipped), and the LinkInfo whose local base path and
// common path suffix together name the target. A link without LinkInfo is resolved through
// its relative path. Every offset is checked against the file's size, so a damaged or hostile
// file gives an empty result rather than a read outside it.
namespace
{
    constexpr juce::uint32 hasItemList     = 0x01;
    constexpr juce::uint32 hasLinkInfo     = 0x02;
    constexpr juce::uint32 hasName         = 0x04;
    constexpr juce::uint32 hasRelativePath = 0x08;
    constexpr juce::uint32 isUnicode       = 0x80;

    constexpr size_t headerSize = 0x4c;
    constexpr juce::int64 largestLink = 1024 * 1024;

    struct Reader
    {
        const juce::uint8* data;
        size_t size;

        bool has (size_t pos, size_t length) const  { return pos <= size && length <= size - pos; }
        juce::uint32 u32 (size_t pos) const         { return has (pos, 4) ? juce::ByteOrder::littleEndianInt (data + pos) : 0; }
        juce::uint16 u16 (size_t pos) const         { return has (pos, 2) ? juce::ByteOrder::littleEndianShort (data + pos) : 0; }

        // A zero-terminated narrow string: only ASCII is safe to take from it (the writer's code
        // page is unknown), so anything else makes it unusable.
        bool narrowAt (size_t pos, size_t end, juce::String& result) const
        {
            juce::String text;

            for (; pos < end && pos < size; ++pos)
            {
                if (data[pos] == 0)
                {
                    result = text;
                    return true;
                }

                if (data[pos] > 0x7f)
                    return false;

                text << (char) data[pos];
            }

            return false;
        }

        // A zero-terminated UTF-16 string that ends before end.
        bool wideAt (size_t pos, size_t end, juce::String& result) const
        {
            const auto limit = std::min (end, size);
            juce::String text;
            bool terminated = false;

            if (pos >= limit || ! Utf16::read (data + pos, limit - pos, text, terminated) || ! terminated)
                return false;

            result = text;
            return true;
        }
    };

    juce::String targetFromLinkInfo (const Reader& r, size_t pos)
    {
        const auto infoSize = r.u32 (pos);
        const auto infoHeaderSize = r.u32 (pos + 4);

        if (infoSize < 0x1c || ! r.has (pos, infoSize) || infoHeaderSize < 0x1c || infoHeaderSize > infoSize)
            return {};

        constexpr juce::uint32 volumeIdAndLocalBasePath = 1;

        if ((r.u32 (pos + 8) & volumeIdAndLocalBasePath) == 0)
            return {};

        const auto end = pos + infoSize;
        juce::String base, suffix;

        if (infoHeaderSize >= 0x24)
        {
            if (r.wideAt (pos + r.u32 (pos + 28), end, base) && r.wideAt (pos + r.u32 (pos + 32), end, suffix))
                return base + suffix;

            return {};
        }

        if (r.narrowAt (pos + r.u32 (pos + 16), end, base) && r.narrowAt (pos + r.u32 (pos + 24), end, suffix))
            return base + suffix;

        return {};
    }
}

juce::String getShellLinkTarget (const juce::File& link)
{
    juce::MemoryBlock bytes;

    if (! WholeFile::readSmall (link, largestLink, bytes))
        return {};

    const Reader r { static_cast<const juce::uint8*> (bytes.getData()), bytes.getSize() };

    if (r.size < headerSize || r.u32 (0) != headerSize)
        return {};

    const auto flags = r.u32 (0x14);
    size_t pos = headerSize;

    if ((flags & hasItemList) != 0)
        pos += 2 + (size_t) r.u16 (pos);

    if ((flags & hasLinkInfo) != 0)
    {
        const auto target = targetFromLinkInfo (r, pos);

        if (target.isNotEmpty())
            return target;

        pos += r.u32 (pos);
    }

    if ((flags & hasRelativePath) == 0 || ! r.has (pos, 0))
        return {};

    // The counted strings that follow: the description first, when there is one.
    const size_t unitSize = (flags & isUnicode) != 0 ? 2 : 1;

    if ((flags & hasName) != 0)
        pos += 2 + unitSize * r.u16 (pos);

    const auto count = (size_t) r.u16 (pos);

    if (unitSize != 2 || ! r.has (pos + 2, count * 2))
        return {};

    juce::String relative;
    bool terminated = false;

    if (! Utf16::read (r.data + pos + 2, count * 2, relative, terminated))
        return {};

    relative = relative.replaceCharacter ('\\', '/');
    return relative.isEmpty() ? juce::String() : link.getParentDirectory().getChildFile (relative).getFullPathName();
}
