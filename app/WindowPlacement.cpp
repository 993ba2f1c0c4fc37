#include "app/WindowPlacement.h"

juce::Point<int> centredWindowPosition (juce::Rectangle<int> userArea, int width, int height)
{
    const auto x = userArea.getX() + (userArea.getWidth() - width) / 2;
    const auto y = userArea.getY() + (userArea.getHeight() - height) / 2;
    return { juce::jmax (userArea.getX(), x), juce::jmax (userArea.getY(), y) };
}
