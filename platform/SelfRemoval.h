#pragma once

#include <juce_core/juce_core.h>

#include <functional>

// How the uninstaller removes its own program file. A running Windows program cannot delete
// its file, so the installed uninstaller copies itself into a private folder (PrivateFolder) in
// the temporary folder, starts the copy and waits for its result, which becomes its own exit
// status. The copy does the work, reports the result, waits for the installed uninstaller to end
// and deletes it; the copy's own file leaves the private folder, which goes, and is deleted by
// the system when the copy ends (it is held open with delete-on-close), so nothing stays in the
// temporary folder. Elsewhere a program can delete its own file, and nothing is handed over.
namespace SelfRemoval
{
    struct Start
    {
        bool handedOver = false;    // a copy did the work; exitCode is its result
        int exitCode = 0;
        juce::File uninstaller;     // the installed uninstaller the work is about
    };

    // Called first, with the program's arguments (without its own name).
    Start begin (const juce::StringArray& arguments);

    // The arguments meant for the work, without the ones the hand-over adds.
    juce::StringArray workArguments (const juce::StringArray& arguments);

    // The file that the work must leave in place because finish removes it (the running
    // installed uninstaller on Windows); a default File when there is none.
    juce::File fileLeftToFinish();

    // Reports the result to the installed uninstaller; then, when removeUninstaller is set,
    // removes its file once it has ended and calls afterRemoval (to remove folders that this
    // left empty). Where nothing was handed over, only afterRemoval may be called.
    void finish (int exitCode, bool removeUninstaller, const std::function<void()>& afterRemoval);
}
