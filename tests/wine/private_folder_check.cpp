// The access rules every private folder is made with, read by Windows' own parser: the folder
// inherits nothing; the system and administrators may do anything; users, and the owner as
// such, may read and run, but change nothing; everything made inside inherits the same, so that
// a program moved out of it stays readable and runnable by every user. Then a folder is made
// with them in PARENT and removed again. Prints what differs; exit 0 when nothing does.
//   private_folder_check PARENT
// Windows keeps these rules with the folder. Wine keeps none (it maps them to a Unix mode and
// reports rules made from that), so the rules are checked as given, not as read back.
#include "platform/PrivateFolder.h"

#include <windows.h>
#include <sddl.h>

#include <cstdio>

namespace
{
    int failures = 0;

    void expect (bool condition, const char* what)
    {
        if (! condition)
        {
            std::printf ("differs: %s\n", what);
            ++failures;
        }
    }

    bool isWellKnown (PSID sid, WELL_KNOWN_SID_TYPE type)
    {
        BYTE buffer[SECURITY_MAX_SID_SIZE];
        DWORD size = sizeof (buffer);
        return CreateWellKnownSid (type, nullptr, buffer, &size) && EqualSid (sid, buffer);
    }
}

int wmain (int argc, wchar_t** argv)
{
    if (argc != 2)
        return 2;

    PSECURITY_DESCRIPTOR descriptor = nullptr;

    if (! ConvertStringSecurityDescriptorToSecurityDescriptorW (PrivateFolder::accessRules().toWideCharPointer(),
                                                                SDDL_REVISION_1, &descriptor, nullptr))
    {
        std::printf ("the rules do not parse: %s\n", PrivateFolder::accessRules().toRawUTF8());
        return 1;
    }

    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    BOOL present = FALSE, defaulted = FALSE;
    PACL list = nullptr;
    GetSecurityDescriptorControl (descriptor, &control, &revision);
    GetSecurityDescriptorDacl (descriptor, &present, &list, &defaulted);
    expect ((control & SE_DACL_PROTECTED) != 0, "the parent's rules would be inherited");
    expect (present && list != nullptr && list->AceCount == 4, "not exactly four entries");

    const DWORD readAndRun = FILE_GENERIC_READ | FILE_GENERIC_EXECUTE;
    const DWORD anyChange = FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_WRITE_EA | FILE_WRITE_ATTRIBUTES
                          | FILE_DELETE_CHILD | DELETE | WRITE_DAC | WRITE_OWNER;
    bool system = false, administrators = false, users = false, owner = false;

    for (DWORD i = 0; present && list != nullptr && i < list->AceCount; ++i)
    {
        ACCESS_ALLOWED_ACE* entry = nullptr;

        if (! GetAce (list, i, reinterpret_cast<void**> (&entry)) || entry->Header.AceType != ACCESS_ALLOWED_ACE_TYPE)
        {
            expect (false, "an entry that is not an allowing one");
            continue;
        }

        const auto sid = static_cast<PSID> (&entry->SidStart);
        expect ((entry->Header.AceFlags & (OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE)) == (OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE)
                  && (entry->Header.AceFlags & INHERIT_ONLY_ACE) == 0,
                "an entry that files and folders inside would not inherit");

        if (isWellKnown (sid, WinLocalSystemSid))
            system = entry->Mask == FILE_ALL_ACCESS;
        else if (isWellKnown (sid, WinBuiltinAdministratorsSid))
            administrators = entry->Mask == FILE_ALL_ACCESS;
        else if (isWellKnown (sid, WinBuiltinUsersSid))
            users = entry->Mask == readAndRun && (entry->Mask & anyChange) == 0;
        else if (isWellKnown (sid, WinCreatorOwnerRightsSid))
            owner = entry->Mask == readAndRun && (entry->Mask & anyChange) == 0;
        else
            expect (false, "an entry for someone else");
    }

    expect (system, "the system may not do everything");
    expect (administrators, "administrators may not do everything");
    expect (users, "users may not just read and run");
    expect (owner, "the owner as such may do more than read and run");
    LocalFree (descriptor);

    PrivateFolder folder (juce::File (juce::String (argv[1])), "Sorna");
    expect (folder.getResult().wasOk() && folder.getFile().isDirectory(), "no folder could be made with the rules");
    expect (folder.removeAll() && ! folder.getFile().exists(), "the folder could not be removed again");

    std::printf ("%s: %s\n", failures == 0 ? "as meant" : "not as meant", PrivateFolder::accessRules().toRawUTF8());
    return failures == 0 ? 0 : 1;
}
