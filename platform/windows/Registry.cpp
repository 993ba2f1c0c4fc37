#include "platform/Registry.h"

#include <windows.h>
#include <shlobj.h>

#include <vector>

// The registry is used through the Win32 API directly rather than JUCE's WindowsRegistry,
// whose text writes leave out the terminating null that RegSetValueExW wants counted: such a
// value reads back with whatever the reader's buffer held after it. Keys are opened in the
// view that is the default for this process (the 32-bit view of a 32-bit program).
namespace
{
    struct ValuePath
    {
        HKEY root = nullptr;
        std::wstring key;    // below the root, may be empty
        std::wstring name;   // empty for the key's default value
    };

    std::wstring toWide (const juce::String& text)
    {
        return text.toWideCharPointer();
    }

    // "HIVE\key\path\name"; a path that ends in "\" names the key's default value.
    ValuePath splitValuePath (const juce::String& valuePath)
    {
        static const struct { const char* prefix; HKEY root; } roots[] =
        {
            { "HKEY_CURRENT_USER\\",  HKEY_CURRENT_USER },  { "HKCU\\", HKEY_CURRENT_USER },
            { "HKEY_LOCAL_MACHINE\\", HKEY_LOCAL_MACHINE }, { "HKLM\\", HKEY_LOCAL_MACHINE },
            { "HKEY_CLASSES_ROOT\\",  HKEY_CLASSES_ROOT },  { "HKCR\\", HKEY_CLASSES_ROOT },
            { "HKEY_USERS\\",         HKEY_USERS },         { "HKU\\",  HKEY_USERS }
        };

        ValuePath path;

        for (auto& r : roots)
        {
            if (valuePath.startsWithIgnoreCase (r.prefix))
            {
                const auto rest = valuePath.substring (static_cast<int> (strlen (r.prefix)));
                const auto lastSlash = rest.lastIndexOfChar ('\\');
                path.root = r.root;
                path.key = toWide (lastSlash < 0 ? juce::String() : rest.substring (0, lastSlash));
                path.name = toWide (rest.substring (lastSlash + 1));
                break;
            }
        }

        return path;
    }

    struct OpenKey
    {
        OpenKey (const ValuePath& path, bool forWriting)
        {
            if (path.root == nullptr)
                return;

            const auto status = forWriting
                ? RegCreateKeyExW (path.root, path.key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                   KEY_SET_VALUE, nullptr, &key, nullptr)
                : RegOpenKeyExW (path.root, path.key.c_str(), 0, KEY_QUERY_VALUE, &key);

            if (status != ERROR_SUCCESS)
                key = nullptr;
        }

        ~OpenKey()
        {
            if (key != nullptr)
                RegCloseKey (key);
        }

        OpenKey (const OpenKey&) = delete;
        OpenKey& operator= (const OpenKey&) = delete;

        HKEY key = nullptr;
    };

    // The value's type and its stored bytes; REG_NONE when it cannot be read.
    DWORD readValue (const ValuePath& path, std::vector<BYTE>& data)
    {
        const OpenKey open (path, false);

        if (open.key == nullptr)
            return REG_NONE;

        for (DWORD size = 1024;;)
        {
            data.resize (size);
            DWORD type = REG_NONE;
            const auto status = RegQueryValueExW (open.key, path.name.c_str(), nullptr, &type, data.data(), &size);

            if (status == ERROR_SUCCESS)
            {
                data.resize (size);
                return type;
            }

            // The value may have grown between two calls: ask again with the size just reported.
            if (status != ERROR_MORE_DATA || size <= data.size())
                return REG_NONE;
        }
    }
}

juce::String Registry::getValue (const juce::String& valuePath, const juce::String& defaultValue)
{
    std::vector<BYTE> data;
    const auto type = readValue (splitValuePath (valuePath), data);

    if (type == REG_DWORD && data.size() >= sizeof (DWORD))
    {
        DWORD number = 0;
        memcpy (&number, data.data(), sizeof (number));
        return juce::String (static_cast<int> (number));
    }

    if (type == REG_SZ)
    {
        // A stored text need not end in a terminator, and may hold trailing ones: read exactly
        // the characters it has.
        auto length = data.size() / sizeof (WCHAR);
        std::vector<WCHAR> chars (length + 1, 0);
        memcpy (chars.data(), data.data(), length * sizeof (WCHAR));

        while (length > 0 && chars[length - 1] == 0)
            --length;

        return length == 0 ? juce::String()
                           : juce::String (juce::CharPointer_UTF16 (reinterpret_cast<const juce::CharPointer_UTF16::CharType*> (chars.data())),
                                           length);
    }

    return defaultValue;
}

bool Registry::setValue (const juce::String& valuePath, const juce::String& value)
{
    const auto path = splitValuePath (valuePath);
    const OpenKey open (path, true);

    if (open.key == nullptr)
        return false;

    // The byte count includes the terminator, so an empty text is stored as one null character.
    const auto text = toWide (value);
    const auto bytes = (text.size() + 1) * sizeof (wchar_t);

    return RegSetValueExW (open.key, path.name.c_str(), 0, REG_SZ,
                           reinterpret_cast<const BYTE*> (text.c_str()), static_cast<DWORD> (bytes)) == ERROR_SUCCESS;
}

bool Registry::deleteKey (const juce::String& keyPath)
{
    const auto path = splitValuePath (keyPath.trimCharactersAtEnd ("\\") + "\\");

    if (path.root == nullptr || path.key.empty())
        return false;

    const auto lastSlash = path.key.rfind (L'\\');
    const auto parentKey = lastSlash == std::wstring::npos ? std::wstring() : path.key.substr (0, lastSlash);
    const auto name = lastSlash == std::wstring::npos ? path.key : path.key.substr (lastSlash + 1);
    HKEY parent = nullptr;

    if (RegOpenKeyExW (path.root, parentKey.empty() ? nullptr : parentKey.c_str(), 0,
                       KEY_READ | KEY_WRITE | DELETE, &parent) == ERROR_SUCCESS)
    {
        RegDeleteTreeW (parent, name.c_str());
        RegCloseKey (parent);
    }

    HKEY gone = nullptr;

    if (RegOpenKeyExW (path.root, path.key.c_str(), 0, KEY_READ, &gone) != ERROR_SUCCESS)
        return true;

    RegCloseKey (gone);
    return false;
}

bool Registry::deleteKeyIfEmpty (const juce::String& keyPath)
{
    const auto path = splitValuePath (keyPath.trimCharactersAtEnd ("\\") + "\\");

    if (path.root == nullptr || path.key.empty())
        return false;

    HKEY key = nullptr;
    const auto opened = RegOpenKeyExW (path.root, path.key.c_str(), 0, KEY_QUERY_VALUE, &key);

    if (opened != ERROR_SUCCESS)
        return opened == ERROR_FILE_NOT_FOUND;

    DWORD subKeys = 0, values = 0;
    const auto queried = RegQueryInfoKeyW (key, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr,
                                           &values, nullptr, nullptr, nullptr, nullptr);
    RegCloseKey (key);

    if (queried != ERROR_SUCCESS)
        return false;

    if (subKeys > 0 || values > 0)
        return true;

    const auto deleted = RegDeleteKeyW (path.root, path.key.c_str());
    return deleted == ERROR_SUCCESS || deleted == ERROR_FILE_NOT_FOUND;
}

bool Registry::deleteValue (const juce::String& valuePath)
{
    const auto path = splitValuePath (valuePath);

    if (path.root == nullptr || path.key.empty())
        return false;

    HKEY key = nullptr;
    const auto opened = RegOpenKeyExW (path.root, path.key.c_str(), 0, KEY_SET_VALUE, &key);

    if (opened != ERROR_SUCCESS)
        return opened == ERROR_FILE_NOT_FOUND;    // no key, so no value either

    const auto result = RegDeleteValueW (key, path.name.empty() ? nullptr : path.name.c_str());
    RegCloseKey (key);
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
