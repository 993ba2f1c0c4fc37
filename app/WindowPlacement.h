#pragma once

#include <juce_graphics/juce_graphics.h>

// Where a window of the given size goes on a display's user area: centred inside it, origin
// included, and never with its top-left corner outside it, so the title bar stays reachable
// even on a display smaller than the window.
juce::Point<int> centredWindowPosition (juce::Rectangle<int> userArea, int width, int height);
