#pragma once

#include <juce_core/juce_core.h>

// payload_tool content-list <payload.zip> <out.txt>: the list of the content files that the
// payload places, which the uninstaller carries to tell installed files from the user's own.
// Returns the tool's exit status; messages go to the console.
int writeContentList (const juce::File& zipFile, const juce::File& listFile);
