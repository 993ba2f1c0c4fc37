#include "platform/linux/Utf16.h"

#include <vector>

namespace
{
    template <typename UnitVisitor>
    bool forEachUnit (const juce::String& text, UnitVisitor&& visit)
    {
        for (auto p = text.getCharPointer(); ! p.isEmpty();)
        {
            const auto c = static_cast<juce::uint32> (p.getAndAdvance());

            if (c < 0x10000)
            {
                if (! visit (static_cast<juce::uint16> (c)))
                    return false;
            }
            else if (! visit (static_cast<juce::uint16> (0xd800 + ((c - 0x10000) >> 10)))
                      || ! visit (static_cast<juce::uint16> (0xdc00 + ((c - 0x10000) & 0x3ff))))
            {
                return false;
            }
        }

        return true;
    }
}

size_t Utf16::length (const juce::String& text)
{
    size_t units = 0;
    forEachUnit (text, [&units] (juce::uint16) { ++units; return true; });
    return units;
}

bool Utf16::write (juce::OutputStream& out, const juce::String& text)
{
    return forEachUnit (text, [&out] (juce::uint16 unit) { return out.writeShort (static_cast<short> (unit)); });
}

bool Utf16::read (const juce::uint8* data, size_t size, juce::String& text, bool& terminated,
                  Order order, LoneSurrogates lone)
{
    const auto units = size / 2;
    const auto unitAt = [data, order] (size_t i) -> juce::uint32
    {
        return order == Order::littleEndian ? juce::ByteOrder::littleEndianShort (data + 2 * i)
                                            : juce::ByteOrder::bigEndianShort (data + 2 * i);
    };
    const auto isHigh = [] (juce::uint32 unit) { return unit >= 0xd800 && unit <= 0xdbff; };
    const auto isLow  = [] (juce::uint32 unit) { return unit >= 0xdc00 && unit <= 0xdfff; };

    std::vector<juce::juce_wchar> chars;
    chars.reserve (units + 1);
    terminated = false;

    for (size_t i = 0; i < units; ++i)
    {
        auto c = unitAt (i);

        if (c == 0)
        {
            terminated = true;
            break;
        }

        if (isHigh (c) && i + 1 < units && isLow (unitAt (i + 1)))
        {
            c = 0x10000 + ((c - 0xd800) << 10) + (unitAt (i + 1) - 0xdc00);
            ++i;
        }
        else if (isHigh (c) || isLow (c))
        {
            if (lone == LoneSurrogates::refuse)
                return false;

            c = 0xfffd;
        }

        chars.push_back (static_cast<juce::juce_wchar> (c));
    }

    chars.push_back (0);
    text = juce::String (juce::CharPointer_UTF32 (chars.data()));
    return true;
}
