// Reads back, with the plain Win32 API, what the Wine tests need to check, and prints it as
// UTF-8 (raw bytes on stdout, so no console code page can change the text):
//   wine_probe link FILE.lnk          -> path, arguments, working directory, description, icon lines
//   wine_probe reg [/64] VALUEPATH    -> "REG_SZ<TAB>text" or "REG_DWORD<TAB>n"; exit 1 when missing
//   wine_probe regbytes VALUEPATH     -> "TYPE SIZE HEX", the value's stored bytes; exit 1 when missing
//   wine_probe folder personal|desktop|appdata|temp -> the shell folder's path
//   wine_probe regcheck LIST          -> compares values with a list of expected texts (below)
//   wine_probe hold FILE SECONDS      -> keeps FILE open without sharing; prints "held" first
//   wine_probe run COMMANDLINE        -> starts a command line as the shell's program list does,
//                                        waits for it and ends with its exit code ("exit=N")
//   wine_probe clipboard              -> the text on the clipboard
//   wine_probe start-link FILE.lnk    -> starts what a shortcut opens (its item list), with its
//                                        arguments and working folder, as Windows' shell does
//   wine_probe icon FILE INDEX        -> "WIDTHxHEIGHT" of the large icon the shell extracts
//                                        (a negative INDEX names a resource id); exit 1 for none
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

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

    // Loads the shortcut FILE through the shell's own IShellLinkW and hands it to use, whose
    // status is returned; 1 when the link cannot be loaded, 2 without COM.
    template <typename Use>
    int withLoadedLink (const wchar_t* file, Use&& use)
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
                    status = use (*link);

                persist->Release();
            }
            link->Release();
        }

        CoUninitialize();
        return status;
    }

    int readLink (const wchar_t* file)
    {
        return withLoadedLink (file, [] (IShellLinkW& link)
        {
            wchar_t text[1024] = {};
            int icon = -1;
            link.GetPath (text, 1024, nullptr, SLGP_RAWPATH);       print (std::wstring (L"path=") + text);
            text[0] = 0; link.GetArguments (text, 1024);            print (std::wstring (L"arguments=") + text);
            text[0] = 0; link.GetWorkingDirectory (text, 1024);     print (std::wstring (L"workdir=") + text);
            text[0] = 0; link.GetDescription (text, 1024);          print (std::wstring (L"description=") + text);
            text[0] = 0; link.GetIconLocation (text, 1024, &icon);  print (std::wstring (L"icon=") + text + L"," + std::to_wstring (icon));
            // Where the shell takes a user who opens the link: its item list.
            PIDLIST_ABSOLUTE items = nullptr;
            text[0] = 0;
            if (SUCCEEDED (link.GetIDList (&items)) && items != nullptr)
            {
                SHGetPathFromIDListW (items, text);
                CoTaskMemFree (items);
            }
            print (std::wstring (L"opens=") + text);
            return 0;
        });
    }

    // Reads a value's type and stored bytes, exactly as kept, given by its full path; a trailing
    // backslash names the key's default value.
    bool queryBytes (std::wstring path, bool view64, DWORD& type, std::string& bytes)
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
            return false;

        const auto split = path.rfind (L'\\');
        const auto keyPath = split == std::wstring::npos ? std::wstring() : path.substr (0, split);
        const auto valueName = split == std::wstring::npos ? path : path.substr (split + 1);

        HKEY key = nullptr;
        if (RegOpenKeyExW (root, keyPath.c_str(), 0, KEY_READ | (view64 ? KEY_WOW64_64KEY : 0), &key) != ERROR_SUCCESS)
            return false;

        DWORD size = 0;
        auto result = RegQueryValueExW (key, valueName.c_str(), nullptr, &type, nullptr, &size);
        bytes.assign (size, '\0');
        if (result == ERROR_SUCCESS && size > 0)
            result = RegQueryValueExW (key, valueName.c_str(), nullptr, &type, (BYTE*) bytes.data(), &size);
        RegCloseKey (key);

        if (result != ERROR_SUCCESS)
            return false;

        bytes.resize (size);
        return true;
    }

    // The value as text: a DWORD as its number, anything else up to its first null character.
    bool queryValue (const std::wstring& path, bool view64, DWORD& type, std::wstring& text)
    {
        std::string bytes;

        if (! queryBytes (path, view64, type, bytes))
            return false;

        if (type == REG_DWORD)
        {
            DWORD number = 0;
            memcpy (&number, bytes.data(), std::min (bytes.size(), sizeof (number)));
            text = std::to_wstring (number);
        }
        else
        {
            std::wstring data (bytes.size() / 2 + 1, L'\0');
            memcpy (data.data(), bytes.data(), bytes.size() / 2 * 2);
            text = data.c_str();
        }

        return true;
    }

    // "TYPE SIZE HEX": the type's number, the stored byte count and every stored byte in
    // hexadecimal, so a test sees a missing terminator or bytes beyond it. In the view that this
    // 32-bit program (like the installer) sees.
    int readBytes (const std::wstring& path)
    {
        DWORD type = 0;
        std::string bytes;

        if (! queryBytes (path, false, type, bytes))
            return 1;

        std::wstring hex;
        for (unsigned char c : bytes)
        {
            const wchar_t digits[] = L"0123456789abcdef";
            hex += digits[c >> 4];
            hex += digits[c & 15];
        }

        print (std::to_wstring (type) + L" " + std::to_wstring (bytes.size()) + L" " + hex);
        return 0;
    }

    int readValue (const std::wstring& path, bool view64)
    {
        DWORD type = 0;
        std::wstring text;

        if (! queryValue (path, view64, type, text))
            return 1;

        print (type == REG_DWORD ? L"REG_DWORD\t" + text
             : type == REG_SZ    ? L"REG_SZ\t" + text
                                 : L"TYPE" + std::to_wstring (type));
        return 0;
    }

    std::wstring fromUtf8 (const std::string& text)
    {
        const auto size = MultiByteToWideChar (CP_UTF8, 0, text.data(), (int) text.size(), nullptr, 0);
        std::wstring wide ((size_t) size, L'\0');
        MultiByteToWideChar (CP_UTF8, 0, text.data(), (int) text.size(), wide.data(), size);
        return wide;
    }

    // Compares REG_SZ values, as this 32-bit program sees them (the view the installer writes
    // in), with a list of UTF-8 "path NUL text NUL" records and prints every difference; exit 1
    // when any value differs or is missing.
    int checkValues (const wchar_t* listFile)
    {
        auto handle = CreateFileW (listFile, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        if (handle == INVALID_HANDLE_VALUE)
            return 2;

        std::string bytes (GetFileSize (handle, nullptr), '\0');
        DWORD read = 0;
        const auto ok = ReadFile (handle, bytes.data(), (DWORD) bytes.size(), &read, nullptr) && read == bytes.size();
        CloseHandle (handle);
        if (! ok)
            return 2;

        std::vector<std::wstring> fields;
        for (size_t start = 0, end; (end = bytes.find ('\0', start)) != std::string::npos; start = end + 1)
            fields.push_back (fromUtf8 (bytes.substr (start, end - start)));

        if (fields.empty() || fields.size() % 2 != 0)
            return 2;

        int matching = 0, differing = 0;
        for (size_t i = 0; i < fields.size(); i += 2)
        {
            DWORD type = 0;
            std::wstring text;

            if (! queryValue (fields[i], false, type, text))
                print (L"missing: " + fields[i]);
            else if (type != REG_SZ)
                print (L"not REG_SZ (type " + std::to_wstring (type) + L"): " + fields[i]);
            else if (text != fields[i + 1])
                print (L"differs: " + fields[i] + L"\n   read: [" + text + L"]\n  meant: [" + fields[i + 1] + L"]");
            else
            {
                ++matching;
                continue;
            }

            ++differing;
        }

        print (std::to_wstring (matching) + L" values as meant, " + std::to_wstring (differing) + L" not");
        return differing == 0 ? 0 : 1;
    }

    // Keeps a file open with no sharing at all for a while, as a running program or a virus
    // scanner may: nobody else can open, replace or delete it meanwhile.
    int holdFile (const wchar_t* file, int seconds)
    {
        auto handle = CreateFileW (file, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, 0, nullptr);
        if (handle == INVALID_HANDLE_VALUE)
            return 1;

        print (L"held");
        Sleep ((DWORD) seconds * 1000);
        CloseHandle (handle);
        return 0;
    }

    int runCommandLine (std::wstring commandLine)
    {
        STARTUPINFOW startup {};
        startup.cb = sizeof (startup);
        PROCESS_INFORMATION process {};

        if (! CreateProcessW (nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        {
            print (L"cannot start, error " + std::to_wstring (GetLastError()));
            return 255;
        }

        WaitForSingleObject (process.hProcess, INFINITE);
        DWORD code = 255;
        GetExitCodeProcess (process.hProcess, &code);
        CloseHandle (process.hThread);
        CloseHandle (process.hProcess);
        print (L"exit=" + std::to_wstring (code));
        return (int) code;
    }

    // Wine's shell resolves a shortcut through its plain target path, which Wine keeps in the
    // ANSI code page only; Windows' shell follows the item list, which is Unicode.
    int startLink (const wchar_t* file)
    {
        return withLoadedLink (file, [] (IShellLinkW& link)
        {
            PIDLIST_ABSOLUTE items = nullptr;

            if (FAILED (link.GetIDList (&items)) || items == nullptr)
                return 1;

            wchar_t arguments[1024] = {}, folder[1024] = {};
            link.GetArguments (arguments, 1024);
            link.GetWorkingDirectory (folder, 1024);
            SHELLEXECUTEINFOW info {};
            info.cbSize = sizeof (info);
            info.fMask = SEE_MASK_IDLIST;
            info.lpIDList = items;
            info.lpParameters = arguments;
            info.lpDirectory = folder;
            info.nShow = SW_SHOWNORMAL;
            const int status = ShellExecuteExW (&info) ? 0 : 1;
            CoTaskMemFree (items);
            return status;
        });
    }

    int printClipboard()
    {
        if (! OpenClipboard (nullptr))
            return 2;

        int status = 1;

        if (auto data = GetClipboardData (CF_UNICODETEXT))
        {
            if (auto* text = static_cast<const wchar_t*> (GlobalLock (data)))
            {
                print (text);
                GlobalUnlock (data);
                status = 0;
            }
        }

        CloseClipboard();
        return status;
    }

    int printIcon (const wchar_t* file, int index)
    {
        HICON large = nullptr;

        if (ExtractIconExW (file, index, &large, nullptr, 1) != 1 || large == nullptr)
            return 1;

        ICONINFO info {};
        BITMAP bitmap {};
        const bool measured = GetIconInfo (large, &info) && GetObjectW (info.hbmColor != nullptr ? info.hbmColor : info.hbmMask,
                                                                       sizeof (bitmap), &bitmap) != 0;
        if (measured)
            print (std::to_wstring (bitmap.bmWidth) + L"x" + std::to_wstring (info.hbmColor != nullptr ? bitmap.bmHeight : bitmap.bmHeight / 2));

        DeleteObject (info.hbmColor);
        DeleteObject (info.hbmMask);
        DestroyIcon (large);
        return measured ? 0 : 1;
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

    if (command == L"regbytes" && argc == 3)
        return readBytes (argv[2]);

    if (command == L"folder" && argc == 3)
        return printFolder (argv[2]);

    if (command == L"regcheck" && argc == 3)
        return checkValues (argv[2]);

    if (command == L"hold" && argc == 4)
        return holdFile (argv[2], _wtoi (argv[3]));

    if (command == L"run" && argc == 3)
        return runCommandLine (argv[2]);

    if (command == L"clipboard" && argc == 2)
        return printClipboard();

    if (command == L"start-link" && argc == 3)
        return startLink (argv[2]);

    if (command == L"icon" && argc == 4)
        return printIcon (argv[2], _wtoi (argv[3]));

    return 2;
}
