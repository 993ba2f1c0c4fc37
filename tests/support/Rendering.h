#pragma once

#include <juce_graphics/juce_graphics.h>

#include <functional>
#include <string>

// Helpers for tests that draw into an image and read pixels back.
inline std::string hex (juce::Colour c) { return c.toDisplayString (true).toStdString(); }

inline std::string pixel (const juce::Image& image, int x, int y) { return hex (image.getPixelAt (x, y)); }

// Draws into a fresh image filled with the given background (transparent by default).
inline juce::Image render (int w, int h, const std::function<void (juce::Graphics&)>& draw,
                           juce::Colour background = juce::Colours::transparentBlack)
{
    juce::Image image (juce::Image::ARGB, w, h, true);
    juce::Graphics g (image);
    g.fillAll (background);
    draw (g);
    return image;
}
