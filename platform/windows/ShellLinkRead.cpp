#include "platform/ShellLink.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <vector>

// The shell reads the link, so whatever Windows itself wrote is understood. The link's item
// list is asked first (it is what the shell opens, and it is Unicode, where some shells keep
// the plain path in the ANSI code page only), then the raw path. Neither resolves the link:
// the uninstaller compares it with the installed program, and resolving could go looking for
// a moved target.
juce::String getShellLinkTarget (const juce::File& link)
{
    if (! link.existsAsFile())
        return {};

    const auto initialised = CoInitializeEx (nullptr, COINIT_APARTMENTTHREADED);
    juce::String target;
    IShellLinkW* shellLink = nullptr;

    if (SUCCEEDED (CoCreateInstance (CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                     reinterpret_cast<void**> (&shellLink))) && shellLink != nullptr)
    {
        IPersistFile* file = nullptr;

        if (SUCCEEDED (shellLink->QueryInterface (IID_IPersistFile, reinterpret_cast<void**> (&file))) && file != nullptr)
        {
            const auto path = link.getFullPathName();

            if (SUCCEEDED (file->Load (path.toWideCharPointer(), STGM_READ)))
            {
                // Longer than MAX_PATH: the installer's folders may be.
                std::vector<WCHAR> buffer (32768, 0);

                auto text = [&buffer]
                {
                    return juce::String (juce::CharPointer_UTF16 (reinterpret_cast<const juce::CharPointer_UTF16::CharType*> (buffer.data())));
                };
                PIDLIST_ABSOLUTE items = nullptr;

                if (SUCCEEDED (shellLink->GetIDList (&items)) && items != nullptr)
                {
                    if (SHGetPathFromIDListEx (items, buffer.data(), (DWORD) buffer.size(), GPFIDL_DEFAULT))
                        target = text();

                    CoTaskMemFree (items);
                }

                if (target.isEmpty() && shellLink->GetPath (buffer.data(), (int) buffer.size(), nullptr, SLGP_RAWPATH) == S_OK)
                    target = text();
            }

            file->Release();
        }

        shellLink->Release();
    }

    if (SUCCEEDED (initialised))
        CoUninitialize();

    return target;
}
