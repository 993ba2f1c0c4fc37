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

bool Utf16::read (const juce::uint8* data, size_t size, juce::String& text, bool& terminated)
{
    std::vector<juce::CharPointer_UTF16::CharType> units;
    terminated = false;

    for (size_t i = 0; i + 1 < size && ! terminated; i += 2)
    {
        const auto unit = static_cast<juce::uint16> (data[i] | (data[i + 1] << 8));
        terminated = unit == 0;

        if (! terminated)
            units.push_back (static_cast<juce::CharPointer_UTF16::CharType> (unit));
    }

    units.push_back (0);

    if (! juce::CharPointer_UTF16::isValidString (units.data(), (int) (units.size() * sizeof (units[0]))))
        return false;

    text = juce::String (juce::CharPointer_UTF16 (units.data()));
    return true;
}
