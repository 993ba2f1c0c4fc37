#include "tests/support/Processes.h"

ProcessRun runProcess (const juce::StringArray& command, int timeoutMs)
{
    juce::ChildProcess process;
    ProcessRun result;

    if (! process.start (command, juce::ChildProcess::wantStdOut | juce::ChildProcess::wantStdErr))
        return result;

    result.output = process.readAllProcessOutput();

    if (process.waitForProcessToFinish (timeoutMs))
        result.exitCode = (int) process.getExitCode();

    return result;
}
