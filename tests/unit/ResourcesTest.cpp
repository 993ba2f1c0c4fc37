#include <gtest/gtest.h>

#include "app/WindowPlacement.h"
#include "resources/BinaryResources.h"

#include <juce_graphics/juce_graphics.h>

namespace
{
    juce::Image load (BinaryResources::Block block)
    {
        return juce::ImageFileFormat::loadFrom (block.data, block.size);
    }
}

TEST (Resources, ImagesHaveTheSizesTheLayoutReliesOn)
{
    EXPECT_EQ (load (BinaryResources::productLogo()).getBounds(), juce::Rectangle<int> (160, 65));
    EXPECT_EQ (load (BinaryResources::makerLogo()).getBounds(), juce::Rectangle<int> (371, 69));
    EXPECT_EQ (load (BinaryResources::backgroundTile()).getBounds(), juce::Rectangle<int> (256, 256));
    EXPECT_EQ (load (BinaryResources::folderIcon()).getBounds(), juce::Rectangle<int> (30, 20));
}

TEST (Resources, LicenceHasItsLengthLinesAndTitle)
{
    const auto block = BinaryResources::licence();
    const auto text = juce::String::fromUTF8 (static_cast<const char*> (block.data), static_cast<int> (block.size));

    EXPECT_EQ (text.length(), 3374);
    EXPECT_EQ (juce::StringArray::fromLines (text).size(), 40);
    EXPECT_TRUE (text.startsWith ("Sorna End User License Agreement\n\n"));
    EXPECT_FALSE (text.containsChar ('\r'));
}

TEST (WindowPlacement, CentresInsideTheUserAreaOriginIncluded)
{
    EXPECT_EQ (centredWindowPosition ({ 0, 0, 1920, 1040 }, 800, 720), juce::Point<int> (560, 160));
    EXPECT_EQ (centredWindowPosition ({ 1920, 30, 1280, 1000 }, 800, 720), juce::Point<int> (2160, 170));
    EXPECT_EQ (centredWindowPosition ({ -1280, 0, 1280, 1024 }, 800, 720), juce::Point<int> (-1040, 152));
}

TEST (WindowPlacement, AWindowLargerThanTheAreaKeepsItsTitleBarReachable)
{
    EXPECT_EQ (centredWindowPosition ({ 0, 0, 640, 480 }, 800, 720), juce::Point<int> (0, 0));
    EXPECT_EQ (centredWindowPosition ({ 100, 40, 1024, 600 }, 800, 720), juce::Point<int> (212, 40));
}
