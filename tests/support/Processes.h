#pragma once

#include <juce_core/juce_core.h>

// Runs another program as a test would run it by hand.
struct ProcessRun
{
    int exitCode = -1;       // -1 when it could not be started or did not finish in time
    juce::String output;     // standard output and standard error together
};

ProcessRun runProcess (const juce::StringArray& command, int timeoutMs = 120000);

// A program started for a test, ended when the test leaves it running.
struct StartedProgram
{
    juce::ChildProcess process;

    ~StartedProgram()
    {
        if (process.isRunning())
            process.kill();
    }
};

// The ids of the windows on screen titled exactly so (found with xdotool).
juce::StringArray findWindows (const juce::String& title);

// The id of the first window titled exactly so (found with xdotool), waiting up to timeoutMs
// for it to appear; empty when none did.
juce::String waitForWindow (const juce::String& title, int timeoutMs);

// What lnkinfo reads from a shell link for one of its fields ("Local path", "Working
// directory"); empty when it names no such field.
juce::String shellLinkField (const juce::File& link, const juce::String& name);
