#include "platform/Registry.h"

#include <windows.h>
#include <shlobj.h>

namespace
{
    // The hive of a path and the rest of it; a null hive for an unknown name. The names are
    // the ones JUCE's registry functions accept, so all of them address the same keys.
    HKEY splitHive (const juce::String& path, juce::String& rest)
    {
        const auto hive = path.upToFirstOccurrenceOf ("\\", false, false);
        rest = path.fromFirstOccurrenceOf ("\\", false, false);

        const std::pair<const char*, HKEY> hives[] = { { "HKEY_CURRENT_USER", HKEY_CURRENT_USER },   { "HKCU", HKEY_CURRENT_USER },
                                                       { "HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE }, { "HKLM", HKEY_LOCAL_MACHINE },
                                                       { "HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT },   { "HKCR", HKEY_CLASSES_ROOT },
                                                       { "HKEY_USERS", HKEY_USERS },                 { "HKU", HKEY_USERS } };

        for (auto& [name, key] : hives)
            if (hive.equalsIgnoreCase (name))
                return key;

        return nullptr;
    }

    const WCHAR* wide (const juce::String& text)
    {
        return reinterpret_cast<const WCHAR*> (text.toUTF16().getAddress());
    }

    // Opened without a view flag, a key lies in the view that JUCE's writes use for this
    // process: the 32-bit one for this 32-bit program on 64-bit Windows.
    bool keyExists (HKEY hive, const juce::String& key)
    {
        HKEY handle = nullptr;

        if (RegOpenKeyExW (hive, wide (key), 0, KEY_READ, &handle) != ERROR_SUCCESS)
            return false;

        RegCloseKey (handle);
        return true;
    }
}

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

bool Registry::deleteKey (const juce::String& keyPath)
{
    juce::String key;
    const auto hive = splitHive (keyPath.trimCharactersAtEnd ("\\"), key);

    if (hive == nullptr || key.isEmpty())
        return false;

    const auto parentPath = key.upToLastOccurrenceOf ("\\", false, false);
    const auto name = key.fromLastOccurrenceOf ("\\", false, false);
    HKEY parent = nullptr;

    if (RegOpenKeyExW (hive, parentPath.isEmpty() ? nullptr : wide (parentPath), 0,
                       KEY_READ | KEY_WRITE | DELETE, &parent) == ERROR_SUCCESS)
    {
        RegDeleteTreeW (parent, wide (name));
        RegCloseKey (parent);
    }

    return ! keyExists (hive, key);
}

bool Registry::deleteValue (const juce::String& valuePath)
{
    juce::String rest;
    const auto hive = splitHive (valuePath, rest);

    if (hive == nullptr || ! rest.containsChar ('\\'))
        return false;

    const auto key = rest.upToLastOccurrenceOf ("\\", false, false);
    const auto name = rest.fromLastOccurrenceOf ("\\", false, false);
    HKEY handle = nullptr;

    if (RegOpenKeyExW (hive, wide (key), 0, KEY_SET_VALUE, &handle) != ERROR_SUCCESS)
        return ! keyExists (hive, key);

    const auto result = RegDeleteValueW (handle, name.isEmpty() ? nullptr : wide (name));
    RegCloseKey (handle);
    return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
}

void Registry::notifyAssociationsChanged()
{
    SHChangeNotify (SHCNE_ASSOCCHANGED, SHCNF_IDLIST, nullptr, nullptr);
}

juce::File Registry::standInFile()
{
    return {};
}
