#include "platform/SelfRemoval.h"

// A running program's file can be deleted here like any other, so the work is never handed over.
SelfRemoval::Start SelfRemoval::begin (const juce::StringArray&)
{
    return { false, 0, juce::File::getSpecialLocation (juce::File::currentExecutableFile) };
}

juce::StringArray SelfRemoval::workArguments (const juce::StringArray& arguments)
{
    return arguments;
}

juce::File SelfRemoval::fileLeftToFinish()
{
    return {};
}

void SelfRemoval::finish (int, bool, const std::function<void()>&)
{
}
