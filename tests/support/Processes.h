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

// Gives the window the keyboard and presses a key in it (xdotool's name of it: "Return").
void pressKey (const juce::String& windowId, const juce::String& key);

// Answers a box with a key and waits for the program to end; its exit status, or -1 (and the
// program killed) when it did not end. On a busy machine a key can reach a box before it
// takes input, so it is pressed again while the program runs. (JUCE's ChildProcess keeps the
// right exit status only if nothing asks after the first wait that saw the end.)
int answerAndWait (juce::ChildProcess& process, const juce::String& boxId, const juce::String& key);

// Answers the box on screen titled so with a key, pressed again while the box stays; false
// when it is still there after that.
bool answerWhileShown (const juce::String& title, const juce::String& key);

// What lnkinfo reads from a shell link for one of its fields ("Local path", "Working
// directory"); empty when it names no such field.
juce::String shellLinkField (const juce::File& link, const juce::String& name);
