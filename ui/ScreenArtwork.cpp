#include "ui/ScreenArtwork.h"
#include "resources/BinaryResources.h"
#include "ui/ScreenLayout.h"

namespace
{
    juce::Image loadImage (BinaryResources::Block block)
    {
        return juce::ImageCache::getFromMemory (block.data, static_cast<int> (block.size));
    }
}

ScreenArtwork::ScreenArtwork()
    : productLogo (loadImage (BinaryResources::productLogo())),
      makerLogo (loadImage (BinaryResources::makerLogo())),
      backgroundTile (loadImage (BinaryResources::backgroundTile())),
      folderIcon (loadImage (BinaryResources::folderIcon()))
{
}

juce::String ScreenArtwork::licenceText()
{
    const auto block = BinaryResources::licence();
    return juce::String::fromUTF8 (static_cast<const char*> (block.data), static_cast<int> (block.size));
}

void ScreenArtwork::paint (juce::Graphics& g, juce::Rectangle<int> screenBounds, const juce::String& versionLine) const
{
    using namespace ScreenLayout;
    auto header = screenBounds.withHeight (headerHeight).withTrimmedRight (makerLogoRightMargin);

    g.drawImage (backgroundTile, 0, 0, screenBounds.getWidth(), screenBounds.getHeight(),
                 0, 0, backgroundTile.getWidth(), backgroundTile.getHeight(), false);

    g.drawImageAt (productLogo, productLogoX, productLogoY);

    g.setColour (greyText);
    g.drawText (versionLine, juce::Rectangle<int> (versionLineX, versionLineY, versionLineWidth, versionLineHeight),
                juce::Justification::centredLeft, false);

    g.setColour (juce::Colours::white);
    const auto makerArea = header.removeFromRight (makerLogoAreaWidth (makerLogo.getWidth()));
    g.drawImageWithin (makerLogo, makerArea.getX(), makerArea.getY(), makerArea.getWidth(), makerArea.getHeight(),
                       juce::RectanglePlacement::centred);
}
