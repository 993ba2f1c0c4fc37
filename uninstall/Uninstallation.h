#pragma once

#include <juce_core/juce_core.h>

// What the uninstaller program does once it knows which installed uninstaller it works for:
// the question, the removal and the report. Here rather than in the application object, so
// that the tests can answer its boxes in-process and read what they show.
namespace Uninstallation
{
    // Unless silent, asks "Do you really want to remove Sorna 1.8?" (Remove / Cancel) and,
    // after removing, shows "Sorna was removed" with what stayed; silent, it shows nothing.
    // Returns the exit status: 0 when everything that should go is gone, 1 otherwise or after
    // Cancel.
    int run (const juce::File& installedUninstaller, bool silent);
}
