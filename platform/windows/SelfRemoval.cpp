#include "platform/SelfRemoval.h"
#include "platform/PrivateFolder.h"
#include "platform/SpecialFolders.h"
#include "product/Product.h"

#include <windows.h>

#include <vector>

// The copy learns from its first arguments that it is the copy: the marker; the pipe it reports
// through, the installed uninstaller's process and its own file (inherited handles, as
// numbers); then the installed uninstaller's path. The arguments after those are the user's.
// It runs from a private folder of its own (see PrivateFolder), so that no one can put a DLL
// beside it or swap it for another program before it starts.
namespace
{
    const juce::String workerMarker ("--sorna-uninstall-copy");
    constexpr int addedArguments = 5;

    struct WorkerState
    {
        HANDLE resultPipe = nullptr;
        HANDLE uninstallerProcess = nullptr;
        HANDLE ownFile = nullptr;
        juce::File uninstaller;
    };

    WorkerState& worker()
    {
        static WorkerState state;
        return state;
    }

    HANDLE handleFrom (const juce::String& text)
    {
        return reinterpret_cast<HANDLE> (static_cast<uintptr_t> (text.getLargeIntValue()));
    }

    juce::String handleText (HANDLE handle)
    {
        return juce::String (static_cast<juce::int64> (reinterpret_cast<uintptr_t> (handle)));
    }

    // JUCE splits the command line at blanks outside double quotes and keeps the quotes, so
    // an argument with blanks goes in quotes and comes out through unquoted(). No Windows path
    // holds a quote.
    juce::String quoteArgument (const juce::String& argument)
    {
        return argument.isEmpty() || argument.containsAnyOf (" \t") ? argument.quoted() : argument;
    }

    // Starts the copy and waits for its result; false when the copy could not be made or run.
    // The private folder is held until the copy has reported its result: no one can swap the
    // copy's file or folder before it starts.
    bool handOver (const juce::StringArray& arguments, const juce::File& self, int& exitCode)
    {
        PrivateFolder folder (SpecialFolders::temporary(), juce::String (Product::name) + "-Uninstall");

        if (folder.getResult().failed())
            return false;

        const auto copy = folder.getFile().getChildFile (self.getFileName());

        if (! CopyFileW (self.getFullPathName().toWideCharPointer(), copy.getFullPathName().toWideCharPointer(), TRUE))
        {
            folder.removeAll();
            return false;
        }

        SECURITY_ATTRIBUTES inherited { sizeof (SECURITY_ATTRIBUTES), nullptr, TRUE };

        // Held open by the copy (which inherits the handle) for as long as it runs; when the
        // last handle closes, the system deletes the file.
        const auto copyFile = CreateFileW (copy.getFullPathName().toWideCharPointer(), DELETE,
                                           FILE_SHARE_READ | FILE_SHARE_DELETE, &inherited, OPEN_EXISTING,
                                           FILE_FLAG_DELETE_ON_CLOSE, nullptr);

        if (copyFile == INVALID_HANDLE_VALUE)
        {
            DeleteFileW (copy.getFullPathName().toWideCharPointer());
            folder.removeAll();
            return false;
        }

        HANDLE readEnd = nullptr, writeEnd = nullptr, selfProcess = nullptr;
        bool started = false;

        if (CreatePipe (&readEnd, &writeEnd, &inherited, 0)
             && SetHandleInformation (readEnd, HANDLE_FLAG_INHERIT, 0)
             && DuplicateHandle (GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), &selfProcess,
                                 SYNCHRONIZE, TRUE, 0))
        {
            juce::StringArray commandLine { quoteArgument (copy.getFullPathName()), workerMarker,
                                            handleText (writeEnd), handleText (selfProcess), handleText (copyFile),
                                            quoteArgument (self.getFullPathName()) };

            for (auto& argument : arguments)
                commandLine.add (quoteArgument (argument.unquoted()));

            std::wstring text (commandLine.joinIntoString (" ").toWideCharPointer());
            STARTUPINFOW startup {};
            startup.cb = sizeof (startup);
            PROCESS_INFORMATION process {};

            // The copy works from the temporary folder: a working folder inside the programs
            // folder would keep that folder from being removed.
            started = CreateProcessW (copy.getFullPathName().toWideCharPointer(), text.data(), nullptr, nullptr, TRUE, 0,
                                      nullptr, SpecialFolders::temporary().getFullPathName().toWideCharPointer(),
                                      &startup, &process);

            if (started)
            {
                CloseHandle (process.hThread);
                CloseHandle (process.hProcess);
            }
        }

        // The copy holds its own duplicates of these now.
        for (auto handle : { writeEnd, selfProcess, copyFile })
            if (handle != nullptr)
                CloseHandle (handle);

        if (started)
        {
            DWORD code = 1, read = 0;

            // A copy that ends without reporting leaves the pipe broken: the work did not finish.
            if (! ReadFile (readEnd, &code, sizeof (code), &read, nullptr) || read != sizeof (code))
                code = 1;

            exitCode = static_cast<int> (code);
        }

        if (readEnd != nullptr)
            CloseHandle (readEnd);

        // A copy that could not start has no one to remove its folder.
        if (! started)
            folder.removeAll();

        return started;
    }

    // The copy's file leaves its private folder for the temporary folder, renamed through the
    // handle that deletes it once the copy ends, and the emptied folder goes: so nothing stays
    // in the temporary folder, though a running program cannot delete its own file.
    void leavePrivateFolder (HANDLE ownFile)
    {
        const auto self = juce::File::getSpecialLocation (juce::File::currentExecutableFile);

        for (int attempt = 0; attempt < 8; ++attempt)
        {
            const auto name = SpecialFolders::temporary().getChildFile (juce::String (Product::name) + "-Uninstall-"
                                                                        + juce::String::toHexString (juce::Random::getSystemRandom().nextInt())
                                                                        + ".exe").getFullPathName();
            const auto length = static_cast<DWORD> (name.length() * sizeof (wchar_t));
            std::vector<char> buffer (sizeof (FILE_RENAME_INFO) + length);
            auto* rename = reinterpret_cast<FILE_RENAME_INFO*> (buffer.data());
            rename->ReplaceIfExists = FALSE;
            rename->RootDirectory = nullptr;
            rename->FileNameLength = length;
            memcpy (rename->FileName, name.toWideCharPointer(), length);

            if (SetFileInformationByHandle (ownFile, FileRenameInfo, rename, static_cast<DWORD> (buffer.size())))
            {
                RemoveDirectoryW (self.getParentDirectory().getFullPathName().toWideCharPointer());
                return;
            }
        }
    }
}

SelfRemoval::Start SelfRemoval::begin (const juce::StringArray& arguments)
{
    if (arguments.size() >= addedArguments && arguments[0] == workerMarker)
    {
        auto& state = worker();
        state.resultPipe = handleFrom (arguments[1]);
        state.uninstallerProcess = handleFrom (arguments[2]);
        state.ownFile = handleFrom (arguments[3]);
        state.uninstaller = juce::File (arguments[4].unquoted());
        return { false, 0, state.uninstaller };
    }

    const auto self = juce::File::getSpecialLocation (juce::File::currentExecutableFile);
    int exitCode = 1;

    if (handOver (arguments, self, exitCode))
        return { true, exitCode, self };

    // Without a copy the work is done here; only the program's own file then stays.
    return { false, 0, self };
}

juce::StringArray SelfRemoval::workArguments (const juce::StringArray& arguments)
{
    juce::StringArray rest;

    for (int i = arguments.size() >= addedArguments && arguments[0] == workerMarker ? addedArguments : 0; i < arguments.size(); ++i)
        rest.add (arguments[i].unquoted());

    return rest;
}

juce::File SelfRemoval::fileLeftToFinish()
{
    return worker().uninstaller;
}

void SelfRemoval::finish (int exitCode, bool removeUninstaller, const std::function<void()>& afterRemoval)
{
    auto& state = worker();

    if (state.resultPipe == nullptr)
        return;

    const auto code = static_cast<DWORD> (exitCode);
    DWORD written = 0;
    WriteFile (state.resultPipe, &code, sizeof (code), &written, nullptr);
    CloseHandle (state.resultPipe);
    state.resultPipe = nullptr;

    // The installed uninstaller ends as soon as it has the result; only then may its file go,
    // and only then is the copy's folder no longer held.
    const bool uninstallerEnded = WaitForSingleObject (state.uninstallerProcess, 30000) == WAIT_OBJECT_0;

    if (removeUninstaller && uninstallerEnded)
    {
        // The system may hold the file of a process that has just ended for a moment longer.
        const auto path = state.uninstaller.getFullPathName();

        for (int attempt = 0; attempt < 50 && ! DeleteFileW (path.toWideCharPointer()) && GetFileAttributesW (path.toWideCharPointer()) != INVALID_FILE_ATTRIBUTES; ++attempt)
            Sleep (100);

        if (afterRemoval)
            afterRemoval();
    }

    CloseHandle (state.uninstallerProcess);
    state.uninstallerProcess = nullptr;
    leavePrivateFolder (state.ownFile);
}
