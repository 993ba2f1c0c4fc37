// Reads back, with the plain Win32 API, what the Wine tests need to check, and prints it as
// UTF-8 (raw bytes on stdout, so no console code page can change the text):
//   wine_probe link FILE.lnk          -> path, arguments, working directory, description, icon lines
//   wine_probe reg [/64] VALUEPATH    -> "REG_SZ<TAB>text" or "REG_DWORD<TAB>n"; exit 1 when missing
//   wine_probe folder personal|desktop|appdata|temp -> the shell folder's path
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <string>

namespace
{
    void print (const std::wstring& text)
    {
        const auto size = WideCharToMultiByte (CP_UTF8, 0, text.data(), (int) text.size(), nullptr, 0, nullptr, nullptr);
        std::string utf8 ((size_t) size, '\0');
        WideCharToMultiByte (CP_UTF8, 0, text.data(), (int) text.size(), utf8.data(), size, nullptr, nullptr);
        utf8 += "\n";
        DWORD written = 0;
        WriteFile (GetStdHandle (STD_OUTPUT_HANDLE), utf8.data(), (DWORD) utf8.size(), &written, nullptr);
    }

    int readLink (const wchar_t* file)
    {
        if (FAILED (CoInitialize (nullptr)))
            return 2;

        int status = 1;
        IShellLinkW* link = nullptr;

        if (SUCCEEDED (CoCreateInstance (CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, (void**) &link)))
        {
            IPersistFile* persist = nullptr;

            if (SUCCEEDED (link->QueryInterface (IID_IPersistFile, (void**) &persist)))
            {
                if (SUCCEEDED (persist->Load (file, STGM_READ)))
                {
                    wchar_t text[1024] = {};
                    int icon = -1;
                    link->GetPath (text, 1024, nullptr, SLGP_RAWPATH);       print (std::wstring (L"path=") + text);
                    text[0] = 0; link->GetArguments (text, 1024);            print (std::wstring (L"arguments=") + text);
                    text[0] = 0; link->GetWorkingDirectory (text, 1024);     print (std::wstring (L"workdir=") + text);
                    text[0] = 0; link->GetDescription (text, 1024);          print (std::wstring (L"description=") + text);
                    text[0] = 0; link->GetIconLocation (text, 1024, &icon);  print (std::wstring (L"icon=") + text + L"," + std::to_wstring (icon));
                    status = 0;
                }
                persist->Release();
            }
            link->Release();
        }

        CoUninitialize();
        return status;
    }

    int readValue (std::wstring path, bool view64)
    {
        const struct { const wchar_t* name; HKEY key; } roots[] = {
            { L"HKEY_CURRENT_USER\\", HKEY_CURRENT_USER }, { L"HKCU\\", HKEY_CURRENT_USER },
            { L"HKEY_LOCAL_MACHINE\\", HKEY_LOCAL_MACHINE }, { L"HKLM\\", HKEY_LOCAL_MACHINE },
            { L"HKEY_CLASSES_ROOT\\", HKEY_CLASSES_ROOT } };

        HKEY root = nullptr;
        for (auto& r : roots)
            if (path.rfind (r.name, 0) == 0)
            {
                root = r.key;
                path = path.substr (wcslen (r.name));
                break;
            }

        if (root == nullptr)
            return 2;

        // As with the installer's paths, a trailing backslash names the key's default value.
        const auto split = path.rfind (L'\\');
        const auto keyPath = split == std::wstring::npos ? std::wstring() : path.substr (0, split);
        const auto valueName = split == std::wstring::npos ? path : path.substr (split + 1);

        HKEY key = nullptr;
        if (RegOpenKeyExW (root, keyPath.c_str(), 0, KEY_READ | (view64 ? KEY_WOW64_64KEY : 0), &key) != ERROR_SUCCESS)
            return 1;

        DWORD type = 0, size = 0;
        auto result = RegQueryValueExW (key, valueName.c_str(), nullptr, &type, nullptr, &size);
        std::wstring data ((size + 1) / 2 + 1, L'\0');
        if (result == ERROR_SUCCESS)
            result = RegQueryValueExW (key, valueName.c_str(), nullptr, &type, (BYTE*) data.data(), &size);
        RegCloseKey (key);

        if (result != ERROR_SUCCESS)
            return 1;

        if (type == REG_DWORD)
            print (L"REG_DWORD\t" + std::to_wstring (*(const DWORD*) data.data()));
        else if (type == REG_SZ)
            print (L"REG_SZ\t" + std::wstring (data.c_str()));
        else
            print (L"TYPE" + std::to_wstring (type));

        return 0;
    }

    int printFolder (const std::wstring& which)
    {
        int id = which == L"personal" ? CSIDL_PERSONAL
               : which == L"desktop"  ? CSIDL_DESKTOPDIRECTORY
               : which == L"appdata"  ? CSIDL_APPDATA : -1;
        wchar_t path[MAX_PATH * 2] = {};

        if (which == L"temp")
            GetTempPathW (MAX_PATH * 2, path);
        else if (id < 0 || FAILED (SHGetFolderPathW (nullptr, id, nullptr, 0, path)))
            return 2;

        print (path);
        return 0;
    }
}

int wmain (int argc, wchar_t** argv)
{
    const std::wstring command = argc > 1 ? argv[1] : L"";

    if (command == L"link" && argc == 3)
        return readLink (argv[2]);

    if (command == L"reg" && argc == 4 && std::wstring (argv[2]) == L"/64")
        return readValue (argv[3], true);

    if (command == L"reg" && argc == 3)
        return readValue (argv[2], false);

    if (command == L"folder" && argc == 3)
        return printFolder (argv[2]);

    return 2;
}
