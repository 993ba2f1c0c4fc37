#include "platform/linux/RegistryText.h"
#include "platform/linux/Utf16.h"

using namespace juce;

bool RegistryText::decode (const MemoryBlock& data, String& text)
{
    const auto* bytes = static_cast<const uint8*> (data.getData());
    const auto size = data.getSize();

    const bool littleEndian = size >= 2 && bytes[0] == 0xff && bytes[1] == 0xfe;
    const bool bigEndian    = size >= 2 && bytes[0] == 0xfe && bytes[1] == 0xff;

    if (littleEndian || bigEndian)
    {
        String decoded;
        bool terminated = false;
        Utf16::read (bytes + 2, size - 2, decoded, terminated,
                     littleEndian ? Utf16::Order::littleEndian : Utf16::Order::bigEndian, Utf16::LoneSurrogates::replace);

        // A NUL character, which no text file holds.
        if (terminated)
            return false;

        text = decoded;
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
