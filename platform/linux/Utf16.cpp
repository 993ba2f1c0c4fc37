#include "platform/linux/Utf16.h"

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
