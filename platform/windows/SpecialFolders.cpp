#include "platform/SpecialFolders.h"

juce::File SpecialFolders::programFiles()    { return juce::File::getSpecialLocation (juce::File::globalApplicationsDirectory); }
juce::File SpecialFolders::applicationData() { return juce::File::getSpecialLocation (juce::File::userApplicationDataDirectory); }
juce::File SpecialFolders::documents()       { return juce::File::getSpecialLocation (juce::File::userDocumentsDirectory); }
juce::File SpecialFolders::desktop()         { return juce::File::getSpecialLocation (juce::File::userDesktopDirectory); }
juce::File SpecialFolders::temporary()       { return juce::File::getSpecialLocation (juce::File::tempDirectory); }
