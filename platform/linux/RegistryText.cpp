#include "platform/linux/RegistryText.h"
#include "platform/linux/Utf16.h"

#include <vector>

using namespace juce;

bool RegistryText::decode (const MemoryBlock& data, String& text)
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

MemoryBlock RegistryText::encode (const StringArray& lines)
{
    MemoryOutputStream out;
    out.write ("\xff\xfe", 2);

    for (auto& line : lines)
        Utf16::write (out, line + "\r\n");

    return out.getMemoryBlock();
}
