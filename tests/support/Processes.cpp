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

juce::StringArray findWindows (const juce::String& title)
{
    // xdotool takes a regular expression, in which the title's own characters are all literal.
    // Only a window on screen counts: a program may make and drop a window of the same title
    // while it starts, and keys sent to that one are lost.
    juce::String pattern ("^");

    for (auto c : title)
        pattern << (juce::String ("\\^$.|?*+()[]{}").containsChar (c) ? "\\" : "") << juce::String::charToString (c);

    pattern << "$";

    auto ids = juce::StringArray::fromLines (runProcess ({ "xdotool", "search", "--onlyvisible", "--name", pattern }, 10000).output.trim());
    ids.removeEmptyStrings();
    return ids;
}

juce::String waitForWindow (const juce::String& title, int timeoutMs)
{
    for (const auto end = juce::Time::getMillisecondCounter() + (juce::uint32) timeoutMs;
         juce::Time::getMillisecondCounter() < end; juce::Thread::sleep (100))
        if (const auto ids = findWindows (title); ! ids.isEmpty())
            return ids[0];

    return {};
}

void pressKey (const juce::String& windowId, const juce::String& key)
{
    juce::Thread::sleep (300);
    runProcess ({ "xdotool", "windowfocus", "--sync", windowId }, 10000);
    runProcess ({ "xdotool", "key", "--window", windowId, key }, 10000);
}

int answerAndWait (juce::ChildProcess& process, const juce::String& boxId, const juce::String& key)
{
    for (int attempt = 0; attempt < 10; ++attempt)
    {
        pressKey (boxId, key);

        if (process.waitForProcessToFinish (3000))
            return (int) process.getExitCode();
    }

    process.kill();
    return -1;
}

bool answerWhileShown (const juce::String& title, const juce::String& key)
{
    for (int attempt = 0; attempt < 10; ++attempt)
    {
        const auto ids = findWindows (title);

        if (ids.isEmpty())
            return true;

        pressKey (ids[0], key);

        for (int i = 0; i < 15 && ! findWindows (title).isEmpty(); ++i)
            juce::Thread::sleep (200);
    }

    return findWindows (title).isEmpty();
}

juce::String shellLinkField (const juce::File& link, const juce::String& name)
{
    // lnkinfo's lines read "<tab>Name<tabs>: value".
    for (auto line : juce::StringArray::fromLines (runProcess ({ "lnkinfo", link.getFullPathName() }, 10000).output))
        if (line.startsWithChar ('\t') && line.upToFirstOccurrenceOf (":", false, false).trim() == name)
            return line.fromFirstOccurrenceOf (":", false, false).substring (1);

    return {};
}
