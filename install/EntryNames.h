#pragma once

#include <juce_core/juce_core.h>

// The rules for the names of a payload's entries, shared by the installer's unpacking and by
// payload_tool's check.
namespace EntryNames
{
    // Why a name could write outside the unpacking folder or mean something else on Windows
    // (a backslash, an absolute path, a drive letter or stream name, ".." or "."); empty when it is safe.
    juce::String unsafeReason (const juce::String& name);

    // Names that differ only in letter case, which one Windows folder cannot hold apart: one
    // line for each pair that clashes, naming both as the archive spells them.
    juce::StringArray caseClashes (const juce::StringArray& names);
}
