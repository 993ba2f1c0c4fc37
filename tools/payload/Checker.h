#pragma once

#include <juce_core/juce_core.h>

// Reads an archive as the installer would and prints whether it can be the installer's
// payload; if not, every reason: unreadable, unsafe or clashing names, entries the installer
// cannot read (damaged, encrypted, another compression method) and every required entry that
// is missing. Returns the exit status: 0 for a usable payload.
int checkPayload (const juce::File& zipFile);
