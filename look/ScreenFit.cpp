#include "look/ScreenFit.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <cmath>

float ScreenFit::scaleToFit (juce::Rectangle<int> workArea, int width, int height)
{
    if (width <= 0 || height <= 0 || workArea.isEmpty())
        return 1.0f;

    const auto scale = juce::jmin (1.0f, (float) workArea.getWidth() / (float) width, (float) workArea.getHeight() / (float) height);

    // Down to whole thousandths, so that rounding to pixels cannot make the window one too big.
    return std::floor (scale * 1000.0f) / 1000.0f;
}

float ScreenFit::fitToMainDisplay (int width, int height)
{
    auto& desktop = juce::Desktop::getInstance();

    // The work area in units of the system's scaling alone, before any scale of ours.
    desktop.setGlobalScaleFactor (1.0f);
    const auto* display = desktop.getDisplays().getPrimaryDisplay();
    const auto scale = display != nullptr ? scaleToFit (display->userArea, width, height) : 1.0f;
    desktop.setGlobalScaleFactor (scale);
    return scale;
}
