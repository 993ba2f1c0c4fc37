#include "platform/PrivateFolder.h"

#include <windows.h>
#include <aclapi.h>
#include <sddl.h>
#include <winternl.h>

#include <string>

namespace
{
    constexpr NTSTATUS nameCollision = static_cast<NTSTATUS> (0xC0000035L);
}

// The system and administrators may do anything; users, and the owner as such, may read and
// run (the OWNER RIGHTS entry takes away an owner's standing right to change the rules, should
// the owner be the user rather than the administrators). What is made inside inherits the
// same; nothing is inherited from the parent.
juce::String PrivateFolder::accessRules()
{
    return "D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)(A;OICI;0x1200a9;;;OW)";
}

// The system's own call makes the folder and opens it in one step, so that nothing can take its
// place between the two; it fails where anything stands at the name, a link or junction too.
PrivateFolder::Made PrivateFolder::make()
{
    PSECURITY_DESCRIPTOR descriptor = nullptr;

    if (! ConvertStringSecurityDescriptorToSecurityDescriptorW (accessRules().toWideCharPointer(), SDDL_REVISION_1, &descriptor, nullptr))
        return Made::failed;

    const auto path = folder.getFullPathName();
    std::wstring ntPath = path.startsWith ("\\\\") ? L"\\??\\UNC\\" + std::wstring (path.substring (2).toWideCharPointer())
                                                   : L"\\??\\" + std::wstring (path.toWideCharPointer());
    UNICODE_STRING name;
    name.Buffer = ntPath.data();
    name.Length = name.MaximumLength = static_cast<USHORT> (ntPath.size() * sizeof (wchar_t));

    OBJECT_ATTRIBUTES attributes;
    InitializeObjectAttributes (&attributes, &name, OBJ_CASE_INSENSITIVE, nullptr, descriptor);
    IO_STATUS_BLOCK io {};
    HANDLE handle = nullptr;

    // Shared for reading and writing, never for deletion: while it is held, no one can rename
    // or remove the folder (and put something else at its name).
    const auto status = NtCreateFile (&handle, FILE_LIST_DIRECTORY | SYNCHRONIZE | READ_CONTROL | WRITE_DAC,
                                      &attributes, &io, nullptr,
                                      FILE_ATTRIBUTE_NORMAL, FILE_SHARE_READ | FILE_SHARE_WRITE, FILE_CREATE,
                                      FILE_DIRECTORY_FILE | FILE_SYNCHRONOUS_IO_NONALERT | FILE_OPEN_REPARSE_POINT,
                                      nullptr, 0);
    if (status == nameCollision || ! NT_SUCCESS (status))
    {
        LocalFree (descriptor);
        return status == nameCollision ? Made::nameTaken : Made::failed;
    }

    // The rules once more, explicitly, for a system that does not take them from the call that
    // makes the folder (Wine keeps none, but maps them to the folder's Unix mode).
    BOOL present = FALSE, defaulted = FALSE;
    PACL rules = nullptr;
    const bool ruled = GetSecurityDescriptorDacl (descriptor, &present, &rules, &defaulted)
                        && SetSecurityInfo (handle, SE_FILE_OBJECT, DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION,
                                            nullptr, nullptr, rules, nullptr) == ERROR_SUCCESS;
    LocalFree (descriptor);
    hold = handle;

    if (ruled)
        return Made::made;

    removeAll();
    return Made::failed;
}

void PrivateFolder::release()
{
    if (hold != nullptr)
        CloseHandle (static_cast<HANDLE> (hold));

    hold = nullptr;
}
