// Draws the installer's four images into resources/. Run by hand when the artwork changes
// (the PNGs are committed); pin the fonts with JUCE_FONT_PATH so the result is repeatable.
//   make_images <resources folder>
// With --icons it draws the product's icon instead, as two Windows icon files: one with every
// usual size from 16 to 256 pixels, one with the small sizes that title bars show. The build
// runs it for every Windows program.
//   make_images --icons <icon.ico> <small-icon.ico>

#include "product/Product.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <iostream>
#include <vector>

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

    // The product's icon at one size: the first letter of the product logo, in its font and
    // gradient, on a dark tile like the installer's background. Drawn for each size rather
    // than scaled down, so that small ones stay sharp.
    Image productIcon (int size)
    {
        Image image (Image::ARGB, size, size, true);
        Graphics g (image);
        const auto side = (float) size;
        const auto tile = Rectangle<float> (side, side).reduced (side / 32.0f);
        const auto corner = side * 0.18f;

        g.setGradientFill (ColourGradient (Colour (0xff34343a), 0.0f, tile.getY(), Colour (0xff121215), 0.0f, tile.getBottom(), false));
        g.fillRoundedRectangle (tile, corner);

        // A spectrum's bars behind the letter, where there is room for them.
        if (size >= 48)
        {
            const float heights[] = { 0.20f, 0.34f, 0.52f, 0.40f, 0.62f, 0.46f, 0.30f, 0.22f };
            const auto barWidth = tile.getWidth() * 0.8f / 8.0f;

            g.setColour (Colour (0xff4a4a52));

            for (int i = 0; i < 8; ++i)
            {
                const auto height = tile.getHeight() * heights[i] * 0.7f;
                g.fillRect (tile.getX() + tile.getWidth() * 0.1f + (float) i * barWidth + barWidth * 0.15f,
                            tile.getBottom() - tile.getHeight() * 0.1f - height, barWidth * 0.7f, height);
            }
        }

        GlyphArrangement glyphs;
        glyphs.addFittedText (Font ("DejaVu Sans", side * 0.8f, Font::bold), String (Product::name).substring (0, 1),
                              tile.getX(), tile.getY(), tile.getWidth(), tile.getHeight(), Justification::centred, 1);
        Path letter;
        glyphs.createPath (letter);
        g.setGradientFill (ColourGradient (Colour (0xffe6e6e6), 0.0f, tile.getY() + side * 0.15f,
                                           Colour (0xff8a8a8a), 0.0f, tile.getBottom() - side * 0.15f, false));
        g.fillPath (letter);

        g.setColour (Colour (0xff6a6a72));
        g.drawRoundedRectangle (tile.reduced (0.5f), corner, jmax (1.0f, side / 64.0f));
        return image;
    }

    // A Windows icon file of the given sizes: 32-bit images with alpha, the largest as PNG, as
    // Windows Vista and later keep a 256-pixel image, the others as device-independent bitmaps
    // that every reader takes.
    bool saveIcon (const std::vector<int>& sizes, const File& file)
    {
        MemoryOutputStream images, directory;
        const auto headerSize = 6 + 16 * (int) sizes.size();

        directory.writeShort (0);
        directory.writeShort (1);
        directory.writeShort ((short) sizes.size());

        for (auto size : sizes)
        {
            const auto image = productIcon (size);
            MemoryOutputStream data;

            if (size >= 256)
            {
                PNGImageFormat png;

                if (! png.writeImageToStream (image, data))
                    return false;
            }
            else
            {
                // The header counts the height twice: the colours, then a mask of one bit a pixel
                // (set where the icon is clear) in rows of whole 32-bit words, both bottom row first.
                const auto maskRow = ((size + 31) / 32) * 4;
                data.writeInt (40);
                data.writeInt (size);
                data.writeInt (size * 2);
                data.writeShort (1);
                data.writeShort (32);
                data.writeInt (0);
                data.writeInt (size * size * 4 + maskRow * size);
                data.writeRepeatedByte (0, 16);

                for (int y = size; --y >= 0;)
                    for (int x = 0; x < size; ++x)
                    {
                        const auto colour = image.getPixelAt (x, y);
                        data.writeByte ((char) colour.getBlue());
                        data.writeByte ((char) colour.getGreen());
                        data.writeByte ((char) colour.getRed());
                        data.writeByte ((char) colour.getAlpha());
                    }

                for (int y = size; --y >= 0;)
                {
                    std::vector<uint8> row ((size_t) maskRow, 0);

                    for (int x = 0; x < size; ++x)
                        if (image.getPixelAt (x, y).getAlpha() == 0)
                            row[(size_t) x / 8] |= (uint8) (0x80 >> (x % 8));

                    data.write (row.data(), row.size());
                }
            }

            directory.writeByte ((char) (size >= 256 ? 0 : size));
            directory.writeByte ((char) (size >= 256 ? 0 : size));
            directory.writeByte (0);
            directory.writeByte (0);
            directory.writeShort (1);
            directory.writeShort (32);
            directory.writeInt ((int) data.getDataSize());
            directory.writeInt (headerSize + (int) images.getDataSize());
            images << data.getMemoryBlock();
        }

        file.deleteFile();
        FileOutputStream out (file);
        return out.openedOk() && out.write (directory.getData(), directory.getDataSize())
                              && out.write (images.getData(), images.getDataSize());
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
    ScopedJuceInitialiser_GUI juce;

    if (argc == 4 && String (argv[1]) == "--icons")
    {
        const auto here = File::getCurrentWorkingDirectory();
        const bool ok = saveIcon ({ 16, 20, 24, 32, 40, 48, 64, 128, 256 }, here.getChildFile (argv[2]))
                     && saveIcon ({ 16, 20, 24, 32 }, here.getChildFile (argv[3]));

        if (! ok)
            std::cerr << "could not write the icons " << argv[2] << " and " << argv[3] << "\n";

        return ok ? 0 : 1;
    }

    if (argc != 2)
    {
        std::cerr << "usage: make_images <resources folder>\n"
                     "       make_images --icons <icon.ico> <small-icon.ico>\n";
        return 2;
    }
    const File folder (File::getCurrentWorkingDirectory().getChildFile (argv[1]));

    const bool ok = save (productLogo(), folder.getChildFile ("ProductLogo.png"))
                 && save (makerLogo(), folder.getChildFile ("MakerLogo.png"))
                 && save (backgroundTile(), folder.getChildFile ("BackgroundTile.png"))
                 && save (folderIcon(), folder.getChildFile ("FolderIcon.png"));

    if (! ok)
        std::cerr << "could not write the images into " << folder.getFullPathName() << "\n";

    return ok ? 0 : 1;
}
