#pragma once

#include <juce_core/juce_core.h>

// A COM status code (HRESULT): negative values are failures.
using ShellLinkResult = juce::int32;

namespace ShellLinkResults
{
    constexpr ShellLinkResult ok = 0;
    constexpr ShellLinkResult invalidArgument = static_cast<ShellLinkResult> (0x80070057u);
}

// Writes a Windows shell link (".lnk" shortcut) at linkPath that opens target. Description,
// working directory and icon (index 0) are set only when not empty. Failures are reported by
// the result and by lines appended to errorText:
//   "Could not create shell link (shortcut), " + the system's text for the code + "\n"
//   "Failed to save shell link.\n"
// An empty target or link path returns invalidArgument and appends nothing.
// On Windows the caller initialises COM on its thread right before the call; the call
// un-initialises it before it returns, on every path.
ShellLinkResult createShellLink (const juce::String& target,
                                 const juce::String& linkPath,
                                 const juce::String& description,
                                 const juce::String& workingDirectory,
                                 const juce::String& iconPath,
                                 juce::String& errorText);

// Makes the calling thread ready for createShellLink (COM initialised on Windows, a
// single-threaded apartment); nothing to do elsewhere. Call it right before each createShellLink.
void prepareThreadForShellLink();

// The target a shell link (".lnk") opens, as a full path; empty when the link cannot be read
// or names no local target. On Windows the shell reads it (COM is initialised for the call);
// elsewhere the file is read directly.
juce::String getShellLinkTarget (const juce::File& link);
