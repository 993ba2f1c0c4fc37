/* A stand-in for a DLL that someone put where a program might load it from: loaded, it leaves
   a file "<its own path>.loaded" beside itself, and the Wine tests look for those files. It
   exports nothing, so a program that loaded it in place of a real DLL would fail soon after. */
#include <windows.h>

BOOL WINAPI DllMain (HINSTANCE self, DWORD reason, LPVOID reserved)
{
    (void) reserved;

    if (reason == DLL_PROCESS_ATTACH)
    {
        WCHAR path[MAX_PATH + 8];
        const DWORD length = GetModuleFileNameW (self, path, MAX_PATH);

        if (length > 0 && length < MAX_PATH)
        {
            lstrcatW (path, L".loaded");
            HANDLE marker = CreateFileW (path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL);

            if (marker != INVALID_HANDLE_VALUE)
                CloseHandle (marker);
        }
    }

    return TRUE;
}
