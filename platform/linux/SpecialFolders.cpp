#include "platform/SpecialFolders.h"

// Programs go into the user's own "~/.local/opt", so that, like every other folder here, it
// follows HOME (and a test sandbox); JUCE's own answer ("/usr") belongs to the system.
juce::File SpecialFolders::programFiles()
{
    return juce::File::getSpecialLocation (juce::File::userHomeDirectory).getChildFile (".local/opt");
}

juce::File SpecialFolders::applicationData() { return juce::File::getSpecialLocation (juce::File::userApplicationDataDirectory); }
juce::File SpecialFolders::documents()       { return juce::File::getSpecialLocation (juce::File::userDocumentsDirectory); }
juce::File SpecialFolders::desktop()         { return juce::File::getSpecialLocation (juce::File::userDesktopDirectory); }

juce::File SpecialFolders::temporary()
{
    const auto tmpdir = juce::SystemStats::getEnvironmentVariable ("TMPDIR", {});

    if (juce::File::isAbsolutePath (tmpdir) && juce::File (tmpdir).isDirectory())
        return juce::File (tmpdir);

    return juce::File::getSpecialLocation (juce::File::tempDirectory);
}
