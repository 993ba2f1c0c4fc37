#include "look/DocumentWindowButton.h"
#include "look/InstallerLookAndFeel.h"

using namespace juce;

DocumentWindowButton::DocumentWindowButton (const String& name, Colour baseColour,
                                            const Path& normalGlyph, const Path& toggledGlyph)
    : Button (name), colour (baseColour), normalShape (normalGlyph), toggledShape (toggledGlyph)
{
}

DocumentWindowButton::~DocumentWindowButton() = default;

void DocumentWindowButton::paintButton (Graphics& g, bool isMouseOverButton, bool isButtonDown)
{
    // Pressing only counts while the mouse is still over the button.
    float opacity = ! isMouseOverButton ? 0.55f : (isButtonDown ? 1.0f : 0.8f);

    if (! isEnabled())
        opacity *= 0.5f;

    const auto w = (float) getWidth();
    const auto h = (float) getHeight();

    // The highlight sits near the top-left corner whatever the button's size.
    g.setGradientFill (ColourGradient (InstallerLookAndFeel::withOpacity (colour.brighter (0.2f), opacity), 6.0f, 5.0f,
                                       InstallerLookAndFeel::withOpacity (colour, opacity), 27.0f, 20.0f,
                                       true));
    g.fillRoundedRectangle (1.0f, 0.0f, w - 2.0f, h, 1.0f);

    g.setColour (colour.brighter (0.1f));
    g.drawRoundedRectangle (1.5f, 0.0f, w - 2.0f, h, 2.0f, 1.0f);

    const auto& glyph = getToggleState() ? toggledShape : normalShape;
    g.setColour (InstallerLookAndFeel::withOpacity (Colours::black, opacity * 0.9f));
    g.fillPath (glyph, glyph.getTransformToScaleToFit (8.0f, 6.0f, w - 14.0f, h - 12.0f, true));
}
