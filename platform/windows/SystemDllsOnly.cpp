// Linked into every Windows program of ours that links JUCE (CMakeLists.txt): DLLs come from the
// system folder only, never from the program's own folder or the working folder, where anyone could
// have put a DLL of the same name (an installer is mostly started from the downloads folder,
// and runs with administrator rights).
//
// - The program imports at load time only Windows' KnownDLLs, which Windows always maps from
//   the system folder. The other system DLLs it uses are delay-loaded (the build makes their
//   import libraries so): loaded on first use, by their full path in the system folder.
// - Before any other code runs, the search for DLLs loaded by name later on, by JUCE or by
//   Windows itself, and for the DLLs those import, is narrowed to the system folder.
#include <windows.h>
#include <delayimp.h>

namespace
{
    bool searchSystemFolderOnly = false;

    FARPROC WINAPI loadFromSystemFolder (unsigned notification, PDelayLoadInfo info)
    {
        if (notification != dliNotePreLoadLibrary || info == nullptr || info->szDll == nullptr)
            return nullptr;

        wchar_t path[MAX_PATH * 2];
        const auto folderLength = GetSystemDirectoryW (path, MAX_PATH);

        if (folderLength == 0 || folderLength >= MAX_PATH)
            return nullptr;

        auto* end = path + folderLength;
        *end++ = L'\\';

        // DLL names in an import table are plain ASCII.
        for (auto* c = info->szDll; *c != 0 && end < path + MAX_PATH * 2 - 1; ++c)
            *end++ = static_cast<wchar_t> (static_cast<unsigned char> (*c));

        *end = 0;

        // The DLLs this one imports are looked for where the default search says, which is the
        // system folder alone; without that default, in this DLL's own folder first.
        return reinterpret_cast<FARPROC> (LoadLibraryExW (path, nullptr, searchSystemFolderOnly ? 0 : LOAD_WITH_ALTERED_SEARCH_PATH));
    }

    // Runs before the constructors of every other static object in the program.
    __attribute__ ((constructor (101))) void narrowDllSearch()
    {
        using SetDefaultDllDirectoriesFunction = BOOL (WINAPI*) (DWORD);

        // Windows 8 and later have it, Windows 7 with the update that brought it (KB2533623).
        // Without it, the working folder at least leaves the search.
        if (auto setDefault = reinterpret_cast<SetDefaultDllDirectoriesFunction> (
                reinterpret_cast<void*> (GetProcAddress (GetModuleHandleW (L"kernel32.dll"), "SetDefaultDllDirectories"))))
            searchSystemFolderOnly = setDefault (LOAD_LIBRARY_SEARCH_SYSTEM32) != FALSE;

        if (! searchSystemFolderOnly)
            SetDllDirectoryW (L"");
    }
}

// The delay-load helper asks this hook before it loads a DLL itself.
extern "C"
{
    PfnDliHook __pfnDliNotifyHook2 = loadFromSystemFolder;
}
