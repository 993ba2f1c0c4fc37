#pragma once

#include <juce_core/juce_core.h>

// What the demo program was started with, and what its window shows for it. Kept apart from
// the window so that the texts can be checked without a display.
struct DemoLaunch
{
    juce::File preset;          // the file it was asked to open; none when started on its own
    juce::File workingFolder;

    // The first argument names the file, exactly as the shell passed it; a relative name is
    // taken from the working folder.
    static DemoLaunch fromArguments (const juce::StringArray& arguments, const juce::File& workingFolder);

    bool hasPreset() const   { return preset != juce::File(); }

    // "Sorna 1.8 demo", or "Sorna 1.8 demo - " and the file's name.
    juce::String windowTitle() const;

    // The full path it was given and the folder it runs in, one per line.
    juce::String description() const;
};
