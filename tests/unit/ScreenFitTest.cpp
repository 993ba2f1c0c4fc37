#include <gtest/gtest.h>

#include "look/ScreenFit.h"

#include <cmath>

namespace
{
    using juce::Rectangle;

    // Work areas in the units of the system's scaling, as the display reports them.
    struct Display
    {
        const char* what;
        Rectangle<int> workArea;
        float systemScale;
    };
}

// The window shrinks only where its display cannot hold it, just enough that it fits to the
// pixel, whichever side is short; it never grows.
TEST (ScreenFit, JustSmallEnoughToFitAndNeverLarger)
{
    const Display displays[] = {
        { "1920 x 1080 at 100 %, taskbar 40", { 0, 0, 1920, 1040 }, 1.0f },
        { "1920 x 1080 at 150 %, taskbar 72", { 0, 0, 1280, 672 }, 1.5f },
        { "1366 x 768 at 125 %, taskbar 40", { 0, 0, 1093, 582 }, 1.25f },
        { "a narrow one", { 0, 0, 600, 1200 }, 1.0f },
        { "a second display left of the first", { -1280, 0, 1280, 650 }, 1.0f },
        { "just large enough", { 0, 0, 800, 720 }, 1.0f },
    };

    for (const auto& display : displays)
    {
        SCOPED_TRACE (display.what);
        const auto scale = ScreenFit::scaleToFit (display.workArea, 800, 720);
        EXPECT_LE (scale, 1.0f);
        EXPECT_GT (scale, 0.0f);

        // In the display's own pixels, the scaled window fits...
        const auto pixels = [&] (int units) { return std::lround ((float) units * scale * display.systemScale); };
        EXPECT_LE (pixels (800), std::lround ((float) display.workArea.getWidth() * display.systemScale));
        EXPECT_LE (pixels (720), std::lround ((float) display.workArea.getHeight() * display.systemScale));

        // ... and one step larger would not, unless it is not scaled at all.
        if (scale < 1.0f)
        {
            EXPECT_TRUE ((800.0f * (scale + 0.002f) > (float) display.workArea.getWidth())
                         || (720.0f * (scale + 0.002f) > (float) display.workArea.getHeight()));
        }
    }

    EXPECT_EQ (ScreenFit::scaleToFit ({ 0, 0, 1920, 1040 }, 800, 720), 1.0f);
    EXPECT_EQ (ScreenFit::scaleToFit ({ 0, 0, 600, 1200 }, 800, 720), 0.75f);
    EXPECT_NEAR (ScreenFit::scaleToFit ({ 0, 0, 1280, 672 }, 800, 720), 0.933f, 0.0005f);
}

// A display that reports no area at all (none found) leaves everything as it is.
TEST (ScreenFit, NoWorkAreaScalesNothing)
{
    EXPECT_EQ (ScreenFit::scaleToFit ({}, 800, 720), 1.0f);
    EXPECT_EQ (ScreenFit::scaleToFit ({ 0, 0, 1920, 1040 }, 0, 0), 1.0f);
}
