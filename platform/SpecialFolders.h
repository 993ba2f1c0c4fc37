#pragma once

#include <juce_core/juce_core.h>

// The system folders the installer reads or writes. On Windows these are the shell's folders
// as JUCE reports them; on Linux they follow HOME (and TMPDIR for temporary files), so a test
// can move them all into a sandbox.
namespace SpecialFolders
{
    juce::File programFiles();     // Windows: "C:\Program Files (x86)" for this 32-bit program; Linux: "~/.local/opt"
    juce::File applicationData();  // roaming application data of the current user
    juce::File documents();
    juce::File desktop();
    juce::File temporary();
}
