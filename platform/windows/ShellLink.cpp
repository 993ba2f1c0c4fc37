#include "platform/ShellLink.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

namespace
{
    // The system's description of a COM status code, worded as the shell's own error object
    // words it: the message table's text without its final line break, or a generic text.
    juce::String describeResult (HRESULT code)
    {
        WCHAR* message = nullptr;
        const auto length = FormatMessageW (FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                            nullptr, static_cast<DWORD> (code), MAKELANGID (LANG_NEUTRAL, SUBLANG_DEFAULT),
                                            reinterpret_cast<LPWSTR> (&message), 0, nullptr);
        if (length > 0 && message != nullptr)
        {
            juce::String text (juce::CharPointer_UTF16 (reinterpret_cast<const juce::CharPointer_UTF16::CharType*> (message)),
                               static_cast<size_t> (length));
            LocalFree (message);

            if (text.endsWith ("\r\n"))
                text = text.dropLastCharacters (2);
            else if (text.endsWith ("\n"))
                text = text.dropLastCharacters (1);

            return text;
        }

        if (message != nullptr)
            LocalFree (message);

        const auto unsignedCode = static_cast<juce::uint32> (code);

        if (unsignedCode >= 0x80040201u && unsignedCode <= 0x8004ffffu)
            return "IDispatch error #" + juce::String (static_cast<int> (unsignedCode - 0x80040200u));

        return "Unknown error 0x" + juce::String::toHexString (static_cast<juce::int64> (unsignedCode)).toUpperCase();
    }
}

ShellLinkResult createShellLink (const juce::String& target,
                                 const juce::String& linkPath,
                                 const juce::String& description,
                                 const juce::String& workingDirectory,
                                 const juce::String& iconPath,
                                 juce::String& errorText)
{
    HRESULT result = E_INVALIDARG;

    if (target.isNotEmpty() && linkPath.isNotEmpty())
    {
        IShellLinkW* link = nullptr;
        result = CoCreateInstance (CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                   reinterpret_cast<void**> (&link));

        if (FAILED (result) || link == nullptr)
        {
            if (SUCCEEDED (result))
                result = E_NOINTERFACE;

            errorText << "Could not create shell link (shortcut), " << describeResult (result) << "\n";
        }
        else
        {
            // Every text goes through the wide interface in its own UTF-16 form, so paths with
            // characters outside the ANSI code page come out intact.
            link->SetPath (target.toWideCharPointer());
            link->SetArguments (L"");

            if (description.isNotEmpty())
                link->SetDescription (description.toWideCharPointer());

            if (workingDirectory.isNotEmpty())
                link->SetWorkingDirectory (workingDirectory.toWideCharPointer());

            if (iconPath.isNotEmpty())
                link->SetIconLocation (iconPath.toWideCharPointer(), 0);

            IPersistFile* file = nullptr;
            result = link->QueryInterface (IID_IPersistFile, reinterpret_cast<void**> (&file));

            if (FAILED (result) || file == nullptr)
            {
                if (SUCCEEDED (result))
                    result = E_NOINTERFACE;

                errorText << "Failed to save shell link.\n";
            }
            else
            {
                result = file->Save (linkPath.toWideCharPointer(), TRUE);
                file->Release();

                // Without this line the completion box would claim a shortcut that is not there.
                if (FAILED (result))
                    errorText << "Failed to save shell link.\n";
            }

            link->Release();
        }
    }

    CoUninitialize();
    return static_cast<ShellLinkResult> (result);
}
