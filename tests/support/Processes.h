#pragma once

#include <juce_core/juce_core.h>

// Runs another program as a test would run it by hand.
struct ProcessRun
{
    int exitCode = -1;       // -1 when it could not be started or did not finish in time
    juce::String output;     // standard output and standard error together
};

ProcessRun runProcess (const juce::StringArray& command, int timeoutMs = 120000);
