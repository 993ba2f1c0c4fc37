// Draws the installer's four images into resources/. Run by hand when the artwork changes
// (the PNGs are committed); pin the fonts with JUCE_FONT_PATH so the result is repeatable.
//   make_images <resources folder>

#include "product/Product.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <iostream>

namespace
{
    using namespace juce;

    bool save (const Image& image, const File& file)
    {
        file.deleteFile();
        FileOutputStream out (file);
        PNGImageFormat png;
        return out.openedOk() && png.writeImageToStream (image, out);
    }

    Image productLogo()
    {
        Image image (Image::ARGB, 160, 65, true);
        Graphics g (image);
        Font font ("DejaVu Sans", 40.0f, Font::bold);
        GlyphArrangement glyphs;
        // The word stays in the upper part: the screen writes its version line across the bottom.
        glyphs.addFittedText (font, Product::name, 4.0f, 0.0f, 152.0f, 42.0f, Justification::centredLeft, 1);
        Path word;
        glyphs.createPath (word);
        g.setGradientFill (ColourGradient (Colour (0xffe6e6e6), 0.0f, 4.0f, Colour (0xff8a8a8a), 0.0f, 40.0f, false));
        g.fillPath (word);
        return image;
    }

    Image makerLogo()
    {
        Image image (Image::ARGB, 371, 69, true);
        Graphics g (image);
        Path emblem;
        emblem.addTriangle (12.0f, 60.0f, 38.0f, 8.0f, 64.0f, 60.0f);
        emblem.addTriangle (26.0f, 60.0f, 38.0f, 36.0f, 50.0f, 60.0f);
        emblem.setUsingNonZeroWinding (false);
        g.setColour (Colour (0xffb3b3b3));
        g.fillPath (emblem);
        g.setFont (Font ("DejaVu Sans", 46.0f, Font::plain));
        g.drawText (Product::maker, 80, 6, 285, 56, Justification::centredLeft, false);
        return image;
    }

    Image backgroundTile()
    {
        Image image (Image::RGB, 256, 256, false);
        Random random (Product::build);
        for (int y = 0; y < 256; ++y)
            for (int x = 0; x < 256; ++x)
            {
                const auto grain = random.nextInt (14) + ((x + y) % 4 == 0 ? 3 : 0);
                const auto level = static_cast<uint8> (18 + grain);
                image.setPixelAt (x, y, Colour (level, level, static_cast<uint8> (level + 1)));
            }
        return image;
    }

    Image folderIcon()
    {
        Image image (Image::ARGB, 30, 20, true);
        Graphics g (image);
        Path tab;
        tab.addRoundedRectangle (3.0f, 2.0f, 10.0f, 5.0f, 1.5f);
        Path body;
        body.addRoundedRectangle (3.0f, 5.0f, 24.0f, 13.0f, 2.0f);
        g.setColour (Colour (0xffc8a24a));
        g.fillPath (tab);
        g.fillPath (body);
        g.setColour (Colour (0xffe8c66a));
        g.fillRoundedRectangle (3.0f, 8.0f, 24.0f, 10.0f, 2.0f);
        g.setColour (Colour (0xff6b5420));
        g.drawRoundedRectangle (3.5f, 5.5f, 23.0f, 12.0f, 2.0f, 1.0f);
        return image;
    }
}

int main (int argc, char** argv)
{
    if (argc != 2)
    {
        std::cerr << "usage: make_images <resources folder>\n";
        return 2;
    }

    ScopedJuceInitialiser_GUI juce;
    const File folder (File::getCurrentWorkingDirectory().getChildFile (argv[1]));

    const bool ok = save (productLogo(), folder.getChildFile ("ProductLogo.png"))
                 && save (makerLogo(), folder.getChildFile ("MakerLogo.png"))
                 && save (backgroundTile(), folder.getChildFile ("BackgroundTile.png"))
                 && save (folderIcon(), folder.getChildFile ("FolderIcon.png"));

    if (! ok)
        std::cerr << "could not write the images into " << folder.getFullPathName() << "\n";

    return ok ? 0 : 1;
}
