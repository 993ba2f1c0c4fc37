#include "platform/Registry.h"

#include <windows.h>
#include <shlobj.h>

juce::String Registry::getValue (const juce::String& valuePath, const juce::String& defaultValue)
{
    juce::MemoryBlock data;
    const auto type = juce::WindowsRegistry::getBinaryValue (valuePath, data);

    if (type == REG_DWORD && data.getSize() >= sizeof (DWORD))
        return juce::String (static_cast<int> (*static_cast<const DWORD*> (data.getData())));

    if (type == REG_SZ)
    {
        // A stored text need not end in a terminator, and may hold trailing ones: read exactly
        // the characters it has.
        auto chars = static_cast<const WCHAR*> (data.getData());
        auto length = data.getSize() / sizeof (WCHAR);

        while (length > 0 && chars[length - 1] == 0)
            --length;

        return length == 0 ? juce::String()
                           : juce::String (juce::CharPointer_UTF16 (reinterpret_cast<const juce::CharPointer_UTF16::CharType*> (chars)),
                                           length);
    }

    return defaultValue;
}

bool Registry::setValue (const juce::String& valuePath, const juce::String& value)
{
    return juce::WindowsRegistry::setValue (valuePath, value);
}

void Registry::notifyAssociationsChanged()
{
    SHChangeNotify (SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
}

juce::File Registry::standInFile()
{
    return {};
}
