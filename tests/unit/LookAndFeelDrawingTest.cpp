#include <gtest/gtest.h>
#include "look/DocumentWindowButton.h"
#include "look/InstallerLookAndFeel.h"
#include "tests/support/Rendering.h"

#include <functional>

using namespace juce;

namespace
{
    // The brightest channel of the brightest pixel in an area: how far text reaches towards
    // its full colour on a black background.
    int brightest (const Image& image, Rectangle<int> area)
    {
        int result = 0;

        for (int y = area.getY(); y < area.getBottom(); ++y)
            for (int x = area.getX(); x < area.getRight(); ++x)
            {
                const auto c = image.getPixelAt (x, y);
                result = jmax (result, (int) c.getRed(), (int) c.getGreen(), (int) c.getBlue());
            }

        return result;
    }

    // The smallest rectangle holding every pixel in the area that differs from the given colour.
    Rectangle<int> inkBounds (const Image& image, Rectangle<int> area, Colour background)
    {
        Rectangle<int> result;
        bool any = false;

        for (int y = area.getY(); y < area.getBottom(); ++y)
            for (int x = area.getX(); x < area.getRight(); ++x)
                if (image.getPixelAt (x, y) != background)
                {
                    const Rectangle<int> dot (x, y, 1, 1);
                    result = any ? result.getUnion (dot) : dot;
                    any = true;
                }

        return result;
    }

    bool near (Colour actual, Colour expected, int tolerance)
    {
        return std::abs ((int) actual.getAlpha() - (int) expected.getAlpha()) <= tolerance
            && std::abs ((int) actual.getRed()   - (int) expected.getRed())   <= tolerance
            && std::abs ((int) actual.getGreen() - (int) expected.getGreen()) <= tolerance
            && std::abs ((int) actual.getBlue()  - (int) expected.getBlue())  <= tolerance;
    }

    struct NoFileList : DirectoryContentsDisplayComponent
    {
        using DirectoryContentsDisplayComponent::DirectoryContentsDisplayComponent;
        int getNumSelectedFiles() const override { return 0; }
        File getSelectedFile (int) const override { return {}; }
        void deselectAllFiles() override {}
        void scrollToTop() override {}
        void setSelectedFile (const File&) override {}
    };

    class LookAndFeelDrawing : public ::testing::Test
    {
    protected:
        InstallerLookAndFeel lookAndFeel;
    };
}

//==============================================================================
TEST (LookAndFeelColours, GreyLevelsTruncateLikeTheFixedTable)
{
    const std::pair<float, const char*> table[] = {
        { 0.04f, "FF0A0A0A" }, { 0.06f, "FF0F0F0F" }, { 0.08f, "FF141414" }, { 0.1f, "FF191919" },
        { 0.13f, "FF212121" }, { 0.15f, "FF262626" }, { 0.3f, "FF4C4C4C" }, { 0.64f, "FFA3A3A3" },
        { 0.65f, "FFA6A6A6" }, { 0.7f, "FFB3B3B3" }, { 0.0f, "FF000000" }, { -1.0f, "FF000000" },
        { 1.0f, "FFFFFFFF" }, { 2.0f, "FFFFFFFF" } };

    for (const auto& [level, expected] : table)
        EXPECT_EQ (hex (InstallerLookAndFeel::greyLevel (level)), expected) << level;

    EXPECT_EQ (hex (InstallerLookAndFeel::lightTextGrey), "FFB3B3B3");
    EXPECT_EQ (hex (InstallerLookAndFeel::darkPanelGrey), "FF212121");
    EXPECT_EQ (hex (InstallerLookAndFeel::outlineBlue), "FF8296B4");

    // Opacities of the title bar buttons and their glyphs.
    const std::pair<float, int> alphas[] = { { 0.55f, 0x8c }, { 0.8f, 0xcc }, { 1.0f, 0xff },
                                             { 0.495f, 0x7e }, { 0.72f, 0xb8 }, { 0.9f, 0xe6 },
                                             { 0.275f, 0x46 }, { 0.5f, 0x7f } };

    for (const auto& [opacity, alpha] : alphas)
        EXPECT_EQ (InstallerLookAndFeel::withOpacity (Colours::red, opacity).getAlpha(), alpha) << opacity;
}

TEST_F (LookAndFeelDrawing, ConstructorFillsTheColourTableAndBecomesTheDefault)
{
    const std::pair<int, const char*> table[] = {
        { DocumentWindow::textColourId, "FFA6A6A6" },
        { FileChooserDialogBox::titleTextColourId, "FFB3B3B3" },
        { ComboBox::backgroundColourId, "FF212121" },
        { ComboBox::textColourId, "FFB3B3B3" },
        { ComboBox::arrowColourId, "FFB3B3B3" },
        { ComboBox::buttonColourId, "FF212121" },
        { ComboBox::outlineColourId, "FF000000" },
        { Label::textColourId, "FFB3B3B3" },
        { PopupMenu::backgroundColourId, "FF000000" },
        { PopupMenu::textColourId, "FFB3B3B3" },
        { PopupMenu::headerTextColourId, "FF555555" },
        { PopupMenu::highlightedBackgroundColourId, "FF212121" },
        { AlertWindow::backgroundColourId, "FF212121" },
        { AlertWindow::textColourId, "FFB3B3B3" },
        { AlertWindow::outlineColourId, "FF4C4C4C" },
        { TextEditor::focusedOutlineColourId, "FFFFA500" },
        { TextEditor::textColourId, "FFB3B3B3" },
        { TextEditor::highlightColourId, "FF808080" },
        { TextEditor::outlineColourId, "FF8296B4" },
        { TextEditor::backgroundColourId, "FF212121" },
        { ResizableWindow::backgroundColourId, "FF212121" },
        { ListBox::textColourId, "FFB3B3B3" },
        { ListBox::backgroundColourId, "00000000" },
        { TextButton::buttonColourId, "FF808080" },
        { CaretComponent::caretColourId, "FFB3B3B3" } };

    for (const auto& [id, expected] : table)
        EXPECT_EQ (hex (lookAndFeel.findColour (id)), expected) << std::hex << id;

    // The file browser's own boxes match the combo boxes and text editors.
    EXPECT_EQ (hex (lookAndFeel.findColour (FileBrowserComponent::currentPathBoxBackgroundColourId)), "FF212121");
    EXPECT_EQ (hex (lookAndFeel.findColour (FileBrowserComponent::currentPathBoxTextColourId)), "FFB3B3B3");
    EXPECT_EQ (hex (lookAndFeel.findColour (FileBrowserComponent::currentPathBoxArrowColourId)), "FFB3B3B3");
    EXPECT_EQ (hex (lookAndFeel.findColour (FileBrowserComponent::filenameBoxBackgroundColourId)), "FF212121");
    EXPECT_EQ (hex (lookAndFeel.findColour (FileBrowserComponent::filenameBoxTextColourId)), "FFB3B3B3");

    EXPECT_EQ (&LookAndFeel::getDefaultLookAndFeel(), &lookAndFeel);

    // A fresh component with no colours of its own sees the table.
    TextEditor editor;
    EXPECT_EQ (hex (editor.findColour (TextEditor::backgroundColourId)), "FF212121");
    EXPECT_EQ (hex (editor.findColour (TextEditor::outlineColourId)), "FF8296B4");
    ListBox list;
    EXPECT_EQ (hex (list.findColour (ListBox::backgroundColourId)), "00000000");
}

//==============================================================================
TEST_F (LookAndFeelDrawing, PushButtonIsFlatWithTwoOutlinesAndHoverOnlyChangesTheFill)
{
    TextButton button ("OK");
    button.setSize (60, 24);

    auto draw = [&] (bool over, bool down)
    {
        return render (60, 24, [&] (Graphics& g)
        {
            lookAndFeel.drawButtonBackground (g, button, Colours::red, over, down);
        });
    };

    const auto rest = draw (false, false);
    EXPECT_EQ (pixel (rest, 30, 12), "FF191919");
    EXPECT_EQ (pixel (rest, 2, 12), "FF191919");
    EXPECT_EQ (pixel (rest, 1, 12), "FF555555");
    EXPECT_EQ (pixel (rest, 58, 12), "FF555555");
    EXPECT_EQ (pixel (rest, 30, 1), "FF555555");
    EXPECT_EQ (pixel (rest, 30, 22), "FF555555");
    EXPECT_EQ (pixel (rest, 0, 12), "FF000000");
    EXPECT_EQ (pixel (rest, 59, 12), "FF000000");
    EXPECT_EQ (pixel (rest, 30, 0), "FF000000");
    EXPECT_EQ (pixel (rest, 30, 23), "FF000000");

    const auto hover = draw (true, false);
    EXPECT_EQ (pixel (hover, 30, 12), "FF200A15");
    EXPECT_EQ (pixel (hover, 1, 12), "FF555555");
    EXPECT_EQ (pixel (hover, 0, 12), "FF000000");

    // Pressed looks like hovered; pressed without the mouse over it like resting.
    const auto pressed = draw (true, true);
    const auto pressedAway = draw (false, true);

    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 60; ++x)
        {
            ASSERT_EQ (pressed.getPixelAt (x, y), hover.getPixelAt (x, y)) << x << "," << y;
            ASSERT_EQ (pressedAway.getPixelAt (x, y), rest.getPixelAt (x, y)) << x << "," << y;
        }
}

TEST_F (LookAndFeelDrawing, ButtonTextIsLightGreyCentredOnOneLineAndGreyWhenDisabled)
{
    TextButton button ("Install");
    button.setSize (120, 30);

    auto draw = [&]
    {
        return render (120, 30, [&] (Graphics& g) { lookAndFeel.drawButtonText (g, button, true, true); },
                       Colours::black);
    };

    const auto enabled = draw();
    const auto ink = inkBounds (enabled, { 0, 0, 120, 30 }, Colours::black);
    EXPECT_NEAR (ink.getCentreX(), 60, 2);
    EXPECT_NEAR (ink.getCentreY(), 15, 3);
    EXPECT_GE (ink.getHeight(), 10);   // a 16 px font, not a small default one
    EXPECT_GE (brightest (enabled, ink), 0xc8);
    EXPECT_LE (brightest (enabled, ink), 0xd3);

    button.setEnabled (false);
    const auto disabled = draw();
    EXPECT_GE (brightest (disabled, ink), 0x70);
    EXPECT_LE (brightest (disabled, ink), 0x80);

    // Too long for one line: squeezed or cut, never wrapped.
    button.setEnabled (true);
    button.setButtonText ("Accept and install everything that there is to install");
    const auto squeezed = draw();
    EXPECT_LE (inkBounds (squeezed, { 0, 0, 120, 30 }, Colours::black).getHeight(), 18);
}

TEST_F (LookAndFeelDrawing, TickBoxIsAnOutlineAndTickedAddsAnInsetSquare)
{
    ToggleButton toggle;
    const auto grey = "FFA3A3A3";
    const auto none = "00000000";

    auto draw = [&] (float w, bool ticked, bool enabled)
    {
        return render (20, 20, [&] (Graphics& g)
        {
            lookAndFeel.drawTickBox (g, toggle, 4.0f, 3.0f, w, 14.0f, ticked, enabled, false, false);
        });
    };

    // w 14: a 9 px box whose outline runs through columns 2 and 11, rows 5 and 14.
    for (bool enabled : { true, false })
    {
        const auto unticked = draw (14.0f, false, enabled);
        EXPECT_EQ (pixel (unticked, 2, 10), grey);
        EXPECT_EQ (pixel (unticked, 11, 10), grey);
        EXPECT_EQ (pixel (unticked, 7, 5), grey);
        EXPECT_EQ (pixel (unticked, 7, 14), grey);
        EXPECT_EQ (pixel (unticked, 7, 10), none);
        EXPECT_EQ (pixel (unticked, 1, 10), none);
        EXPECT_EQ (pixel (unticked, 12, 10), none);
        EXPECT_EQ (pixel (unticked, 7, 4), none);
        EXPECT_EQ (pixel (unticked, 7, 15), none);
    }

    // Ticked: columns 4 to 9 and rows 7 to 12 filled, a clear gap to the outline.
    const auto ticked = draw (14.0f, true, true);
    EXPECT_EQ (pixel (ticked, 4, 7), grey);
    EXPECT_EQ (pixel (ticked, 9, 12), grey);
    EXPECT_EQ (pixel (ticked, 7, 10), grey);
    EXPECT_EQ (pixel (ticked, 3, 10), none);
    EXPECT_EQ (pixel (ticked, 10, 10), none);
    EXPECT_EQ (pixel (ticked, 7, 6), none);
    EXPECT_EQ (pixel (ticked, 7, 13), none);
    EXPECT_EQ (pixel (ticked, 2, 10), grey);

    // w 13: the box shrinks to 7 px, its right edge on column 9.
    const auto small = draw (13.0f, false, true);
    EXPECT_EQ (pixel (small, 9, 9), grey);
    EXPECT_EQ (pixel (small, 11, 9), none);
    EXPECT_EQ (pixel (small, 5, 12), grey);
}

TEST_F (LookAndFeelDrawing, TextEditorOutlineIsBlueWithAFlatShadowAndAbsentWhenDisabled)
{
    TextEditor editor;
    editor.setSize (100, 24);

    auto draw = [&]
    {
        return render (100, 24, [&] (Graphics& g) { lookAndFeel.drawTextEditorOutline (g, 100, 24, editor); });
    };

    editor.setColour (TextEditor::shadowColourId, Colours::transparentBlack);
    const auto plain = draw();
    EXPECT_EQ (pixel (plain, 50, 0), "FF8296B4");
    EXPECT_EQ (pixel (plain, 50, 23), "FF8296B4");
    EXPECT_EQ (pixel (plain, 0, 12), "FF8296B4");
    EXPECT_EQ (pixel (plain, 99, 12), "FF8296B4");
    EXPECT_EQ (pixel (plain, 50, 1), "00000000");
    EXPECT_EQ (pixel (plain, 50, 12), "00000000");

    // The shadow: three full-strength lines along the top, none near the bottom because the
    // bevel runs two pixels below the editor.
    editor.setColour (TextEditor::shadowColourId, Colour (0x40000000));
    const auto shaded = draw();
    EXPECT_EQ (pixel (shaded, 50, 1), "40000000");
    EXPECT_EQ (pixel (shaded, 50, 2), "40000000");
    EXPECT_EQ (pixel (shaded, 50, 3), "00000000");
    EXPECT_EQ (pixel (shaded, 50, 22), "00000000");
    EXPECT_EQ (pixel (shaded, 1, 12), "30000000");
    EXPECT_NE (pixel (shaded, 50, 0), "FF8296B4");

    editor.setColour (TextEditor::shadowColourId, Colours::transparentBlack);
    editor.setColour (TextEditor::outlineColourId, Colours::red);
    EXPECT_EQ (pixel (draw(), 0, 12), "FFFF0000");

    editor.setEnabled (false);
    const auto disabled = draw();
    EXPECT_TRUE (inkBounds (disabled, { 0, 0, 100, 24 }, Colours::transparentBlack).isEmpty());
}

TEST_F (LookAndFeelDrawing, ComboBoxHasItsBackgroundAChevronBottomRightAndADarkBlueOutline)
{
    ComboBox box;
    box.setSize (120, 24);

    auto draw = [&] (int w, int h)
    {
        return render (w, h, [&] (Graphics& g) { lookAndFeel.drawComboBox (g, w, h, true, 90, 0, 30, h, box); });
    };

    const auto image = draw (120, 24);
    EXPECT_EQ (pixel (image, 50, 12), "FF212121");
    EXPECT_EQ (pixel (image, 100, 12), "FF212121");   // no button area of its own
    EXPECT_EQ (pixel (image, 0, 12), "FF64738A");
    EXPECT_EQ (pixel (image, 119, 12), "FF64738A");
    EXPECT_EQ (pixel (image, 50, 0), "FF64738A");
    EXPECT_EQ (pixel (image, 50, 23), "FF64738A");

    // The chevron: a 3 × 6 right-pointing arrow in the 6 × 6 square at (110, 14).
    const auto chevron = inkBounds (image, { 1, 1, 118, 22 }, Colour (0xff212121));
    EXPECT_GE (chevron.getX(), 111);
    EXPECT_LE (chevron.getX(), 112);
    EXPECT_GE (chevron.getRight(), 115);
    EXPECT_LE (chevron.getRight(), 117);
    EXPECT_GE (chevron.getY(), 13);
    EXPECT_LE (chevron.getY(), 14);
    EXPECT_GE (chevron.getBottom(), 21);
    EXPECT_LE (chevron.getBottom(), 22);
    EXPECT_LE (brightest (image, chevron), 0xa3);
    EXPECT_GE (brightest (image, chevron), 0x60);

    // The tip points right: the rightmost ink is in the middle rows, not at the top or bottom.
    EXPECT_EQ (image.getPixelAt (chevron.getRight() - 1, 14), Colour (0xff212121));
    EXPECT_EQ (image.getPixelAt (chevron.getRight() - 1, 20), Colour (0xff212121));

    box.setColour (ComboBox::backgroundColourId, Colours::navy);
    EXPECT_EQ (pixel (draw (120, 24), 50, 12), hex (Colours::navy));

    // Lower than 10 px: the chevron starts above the top edge and is clipped, not moved.
    const auto lowChevron = inkBounds (draw (60, 6), { 1, 1, 58, 4 }, Colours::navy);
    EXPECT_FALSE (lowChevron.isEmpty());
    EXPECT_GE (lowChevron.getX(), 50);
    EXPECT_EQ (lowChevron.getY(), 1);
    EXPECT_LE (lowChevron.getBottom(), 3);
}

TEST_F (LookAndFeelDrawing, LabelTextIsLightGreyInsideItsBorderAndFadesWhenDisabled)
{
    Label label ("name", "Sorna");
    label.setSize (120, 24);
    label.setBorderSize ({ 0, 30, 0, 0 });
    label.setColour (Label::outlineColourId, Colours::red);

    auto draw = [&] { return render (120, 24, [&] (Graphics& g) { lookAndFeel.drawLabel (g, label); }, Colours::black); };

    EXPECT_NE (hex (label.findColour (TextEditor::textColourId)), "FFA3A3A3");
    const auto enabled = draw();
    EXPECT_EQ (pixel (enabled, 0, 12), "FFFF0000");
    EXPECT_EQ (pixel (enabled, 60, 23), "FFFF0000");

    const auto text = inkBounds (enabled, { 1, 1, 118, 22 }, Colours::black);
    EXPECT_GE (text.getX(), 30);
    EXPECT_LE (text.getX(), 33);
    EXPECT_LE (brightest (enabled, text), 0xb3);
    EXPECT_GE (brightest (enabled, text), 0xa0);

    // Painting leaves grey behind for the editor that in-place editing would open.
    EXPECT_EQ (hex (label.findColour (TextEditor::textColourId)), "FFA3A3A3");
    EXPECT_EQ (hex (label.findColour (Label::textColourId)), "FFB3B3B3");

    label.setEnabled (false);
    const auto disabled = draw();
    EXPECT_NEAR (disabled.getPixelAt (0, 12).getRed(), 0x80, 1);
    EXPECT_LE (brightest (disabled, text), 0x5a);
    EXPECT_GE (brightest (disabled, text), 0x48);

    label.setColour (Label::backgroundColourId, Colours::navy);
    EXPECT_EQ (pixel (draw(), 10, 12), hex (Colours::navy));
}

TEST_F (LookAndFeelDrawing, ScrollBarShowsSlotThumbAndOutlineOnlyWhenThereIsAThumb)
{
    ScrollBar bar (true);

    auto vertical = [&] (int thumbSize)
    {
        return render (12, 100, [&] (Graphics& g)
        {
            lookAndFeel.drawScrollbar (g, bar, 0, 10, 12, 80, true, 30, thumbSize, true, true);
        });
    };

    const auto image = vertical (20);
    EXPECT_EQ (pixel (image, 6, 5), "FF000000");
    EXPECT_EQ (pixel (image, 6, 95), "FF000000");
    EXPECT_EQ (pixel (image, 6, 15), "FF0F0F0F");
    EXPECT_EQ (pixel (image, 6, 28), "FF0F0F0F");
    EXPECT_EQ (pixel (image, 6, 29), "FF000000");
    EXPECT_EQ (pixel (image, 6, 30), "FF262626");
    EXPECT_EQ (pixel (image, 6, 49), "FF262626");
    EXPECT_EQ (pixel (image, 6, 50), "FF000000");
    EXPECT_EQ (pixel (image, 6, 51), "FF0F0F0F");
    EXPECT_EQ (pixel (image, 0, 40), "FF000000");
    EXPECT_EQ (pixel (image, 1, 40), "FF262626");
    EXPECT_EQ (pixel (image, 11, 40), "FF262626");

    const auto empty = vertical (0);
    for (int y = 10; y < 90; ++y)
        ASSERT_EQ (pixel (empty, 6, y), "FF0F0F0F") << y;
    EXPECT_EQ (pixel (empty, 0, 40), "FF0F0F0F");
    EXPECT_EQ (pixel (empty, 6, 5), "FF000000");

    const auto horizontal = render (100, 12, [&] (Graphics& g)
    {
        lookAndFeel.drawScrollbar (g, bar, 10, 0, 80, 12, false, 30, 20, false, false);
    });
    EXPECT_EQ (pixel (horizontal, 5, 6), "FF000000");
    EXPECT_EQ (pixel (horizontal, 15, 6), "FF0F0F0F");
    EXPECT_EQ (pixel (horizontal, 29, 6), "FF000000");
    EXPECT_EQ (pixel (horizontal, 35, 6), "FF262626");
    EXPECT_EQ (pixel (horizontal, 50, 6), "FF000000");
    EXPECT_EQ (pixel (horizontal, 35, 0), "FF000000");
    EXPECT_EQ (pixel (horizontal, 35, 1), "FF262626");
}

TEST_F (LookAndFeelDrawing, ScrollBarArrowsAreFlatTrianglesPointingTheirWay)
{
    ScrollBar bar (true);

    auto draw = [&] (int direction, bool down)
    {
        return render (20, 20, [&] (Graphics& g)
        {
            lookAndFeel.drawScrollbarButton (g, bar, 20, 20, direction, true, true, down);
        }, Colours::white);
    };

    // Every arrow spans x 3..17 and y 7..13; points well inside or outside each one.
    struct Case { int direction; Point<int> inside1, inside2, outside1, outside2; };
    const Case cases[] = {
        { 0, { 10, 10 }, { 6, 11 }, { 6, 8 },  { 10, 14 } },    // up
        { 1, { 5, 10 },  { 5, 8 },  { 14, 8 }, { 1, 10 } },     // right
        { 2, { 10, 10 }, { 6, 8 },  { 6, 12 }, { 10, 5 } },     // down
        { 3, { 14, 10 }, { 14, 8 }, { 5, 8 },  { 18, 10 } } };  // left

    for (const auto& c : cases)
    {
        const auto image = draw (c.direction, false);
        EXPECT_EQ (pixel (image, c.inside1.x, c.inside1.y), "FF4C4C4C") << c.direction;
        EXPECT_EQ (pixel (image, c.inside2.x, c.inside2.y), "FF4C4C4C") << c.direction;
        EXPECT_EQ (pixel (image, c.outside1.x, c.outside1.y), "FFFFFFFF") << c.direction;
        EXPECT_EQ (pixel (image, c.outside2.x, c.outside2.y), "FFFFFFFF") << c.direction;

        const auto ink = inkBounds (image, { 0, 0, 20, 20 }, Colours::white);
        EXPECT_EQ (ink.getX(), 2) << c.direction;
        EXPECT_EQ (ink.getRight(), 18) << c.direction;
        EXPECT_EQ (ink.getY(), 6) << c.direction;
        EXPECT_EQ (ink.getBottom(), 14) << c.direction;

        EXPECT_EQ (pixel (draw (c.direction, true), c.inside1.x, c.inside1.y), "FF707070") << c.direction;
    }

    EXPECT_TRUE (inkBounds (draw (4, false), { 0, 0, 20, 20 }, Colours::white).isEmpty());
}

//==============================================================================
TEST_F (LookAndFeelDrawing, FileBrowserRowsAreShadedByKindSelectionAndParity)
{
    TimeSliceThread thread ("unused");
    DirectoryContentsList contents (nullptr, thread);
    NoFileList display (contents);

    auto draw = [&] (int width, bool folder, bool selected, int index, const String& name = "a")
    {
        return render (width, 20, [&] (Graphics& g)
        {
            lookAndFeel.drawFileBrowserRow (g, width, 20, File(), name, nullptr, "10 KB", "1 Jan 2024",
                                            folder, selected, index, display);
        });
    };

    // Edge (row 0) and middle (row 10) brightness, far right of the short name.
    struct Case { bool folder, selected; int index; float edge, middle; };
    const Case cases[] = {
        { false, false, 0, 0.08f, 0.07f }, { false, false, 1, 0.12f, 0.13f },
        { false, true,  0, 0.3f,  0.27f }, { false, true,  1, 0.3f,  0.27f },
        { true,  false, 2, 0.2f,  0.19f }, { true,  false, 3, 0.25f, 0.26f },
        { true,  true,  4, 0.3f,  0.27f } };

    for (const auto& c : cases)
    {
        const auto image = draw (300, c.folder, c.selected, c.index);
        const auto saturation = c.folder ? 0.5f : 0.0f;
        const auto info = ::testing::Message() << c.folder << c.selected << c.index;

        EXPECT_TRUE (near (image.getPixelAt (250, 0), Colour (0.1f, saturation, c.edge, 1.0f), 1))
            << info << " " << pixel (image, 250, 0);
        EXPECT_TRUE (near (image.getPixelAt (250, 10), Colour (0.1f, saturation, c.middle, 1.0f), 1))
            << info << " " << pixel (image, 250, 10);
        EXPECT_TRUE (near (image.getPixelAt (250, 19), Colour (0.1f, saturation, c.edge, 1.0f), 1))
            << info << " " << pixel (image, 250, 19);
    }

    // Folders are orange-brown, files grey.
    const auto folder = draw (300, true, false, 0).getPixelAt (250, 0);
    EXPECT_GT (folder.getRed(), folder.getGreen());
    EXPECT_GT (folder.getGreen(), folder.getBlue());
}

TEST_F (LookAndFeelDrawing, FileBrowserRowsShowSizeAndDateColumnsOnlyForFilesWiderThan450)
{
    TimeSliceThread thread ("unused");
    DirectoryContentsList contents (nullptr, thread);
    NoFileList display (contents);

    auto draw = [&] (int width, bool folder)
    {
        return render (width, 20, [&] (Graphics& g)
        {
            lookAndFeel.drawFileBrowserRow (g, width, 20, File(), "a.txt", nullptr, "10 KB", "1 Jan 2024",
                                            folder, false, 0, display);
        }, Colours::black);
    };

    auto hasInk = [] (const Image& image, int x1, int x2)
    {
        // The shading only changes from row to row, so text is whatever differs from the
        // row's start.
        for (int y = 0; y < 20; ++y)
            for (int x = x1; x < x2; ++x)
                if (image.getPixelAt (x, y) != image.getPixelAt (5, y))
                    return true;

        return false;
    };

    const auto wide = draw (451, false);
    EXPECT_TRUE (hasInk (wide, 15, 60));     // name
    EXPECT_FALSE (hasInk (wide, 0, 15));
    EXPECT_TRUE (hasInk (wide, 330, 353));   // size, right-aligned before 316 + 45 - 8
    EXPECT_FALSE (hasInk (wide, 354, 361));
    EXPECT_FALSE (hasInk (wide, 200, 316));
    EXPECT_TRUE (hasInk (wide, 400, 443));   // date, right-aligned before 451 - 8
    EXPECT_FALSE (hasInk (wide, 444, 451));
    EXPECT_LE (brightest (wide, { 316, 0, 135, 20 }), 0x80);
    EXPECT_GT (brightest (wide, { 15, 0, 60, 20 }), 0x80);

    EXPECT_FALSE (hasInk (draw (450, false), 100, 450));
    EXPECT_FALSE (hasInk (draw (451, true), 100, 451));
    EXPECT_TRUE (hasInk (draw (451, true), 15, 60));
}

TEST_F (LookAndFeelDrawing, GoUpButtonIsAGreyArrowOnAPushButtonBackground)
{
    std::unique_ptr<Button> button (lookAndFeel.createFileBrowserGoUpButton());
    ASSERT_NE (button, nullptr);
    EXPECT_EQ (button->getName(), "up");

    auto* drawable = dynamic_cast<DrawableButton*> (button.get());
    ASSERT_NE (drawable, nullptr);
    EXPECT_EQ (drawable->getStyle(), DrawableButton::ImageOnButtonBackground);

    button->setSize (30, 30);
    const auto image = button->createComponentSnapshot (button->getLocalBounds(), true, 1.0f);

    EXPECT_EQ (pixel (image, 0, 15), "FF000000");
    EXPECT_EQ (pixel (image, 1, 15), "FF555555");
    EXPECT_EQ (pixel (image, 15, 15), "FFA3A3A3");   // shaft
    EXPECT_EQ (pixel (image, 10, 13), "FFA3A3A3");   // head, wider than the shaft
    EXPECT_EQ (pixel (image, 10, 17), "FF191919");   // beside the shaft
    EXPECT_EQ (pixel (image, 15, 5), "FF191919");    // above the tip
}

TEST_F (LookAndFeelDrawing, MenuBarIsNearBlackWithFixedHeightAndFont)
{
    MenuBarComponent bar;

    for (bool over : { false, true })
    {
        const auto image = render (200, 25, [&] (Graphics& g)
        {
            lookAndFeel.drawMenuBarBackground (g, 200, 25, over, bar);
        });
        EXPECT_EQ (pixel (image, 0, 0), "FF0A0A0A");
        EXPECT_EQ (pixel (image, 199, 24), "FF0A0A0A");
    }

    EXPECT_EQ (lookAndFeel.getDefaultMenuBarHeight(), 25);
    const auto font = lookAndFeel.getMenuBarFont (bar, 3, "File");
    EXPECT_FLOAT_EQ (font.getHeight(), 15.0f);
    EXPECT_FALSE (font.isBold());
}

//==============================================================================
namespace
{
    std::unique_ptr<DocumentWindowButton> titleButton (InstallerLookAndFeel& lookAndFeel, int kind, int width)
    {
        std::unique_ptr<DocumentWindowButton> button (dynamic_cast<DocumentWindowButton*> (lookAndFeel.createDocumentWindowButton (kind)));

        if (button != nullptr)
            button->setSize (width, 25);

        return button;
    }

    Image paintButton (DocumentWindowButton& button, bool over, bool down, Colour background)
    {
        return render (button.getWidth(), button.getHeight(), [&] (Graphics& g)
        {
            button.paintButton (g, over, down);
        }, background);
    }

    // How opaque the black glyph is at a pixel, from the same spot painted without a glyph.
    float glyphOpacity (const Image& withGlyph, const Image& without, int x, int y)
    {
        const auto c = withGlyph.getPixelAt (x, y);
        const auto body = without.getPixelAt (x, y);
        return 1.0f - (float) c.getRed() / (float) body.getRed();
    }
}

TEST_F (LookAndFeelDrawing, TitleBarButtonsExistForCloseMinimiseAndMaximiseOnly)
{
    const std::tuple<int, const char*> kinds[] = { { DocumentWindow::closeButton, "Close" },
                                                   { DocumentWindow::minimiseButton, "Minimise" },
                                                   { DocumentWindow::maximiseButton, "Sorna Window Size" } };

    for (const auto& [kind, name] : kinds)
    {
        const auto button = titleButton (lookAndFeel, kind, 24);
        ASSERT_NE (button, nullptr) << kind;
        EXPECT_EQ (button->getName(), name);
    }

    for (int kind : { -1, 0, 3, 5, 7, 8 })
        EXPECT_EQ (std::unique_ptr<Button> (lookAndFeel.createDocumentWindowButton (kind)), nullptr) << kind;
}

TEST_F (LookAndFeelDrawing, TitleBarButtonBodyBorderAndGlyphFollowTheMouse)
{
    const auto button = titleButton (lookAndFeel, DocumentWindow::closeButton, 35);
    DocumentWindowButton bare ("bare", Colour (0xff7d3524), {}, {});
    bare.setSize (35, 25);

    struct State { bool over, down, enabled; int bodyAlpha; float glyph; };
    const State states[] = {
        { false, false, true,  0x8c, 0x7e / 255.0f },
        { false, true,  true,  0x8c, 0x7e / 255.0f },   // pressed, dragged off
        { true,  false, true,  0xcc, 0xb8 / 255.0f },
        { true,  true,  true,  0xff, 0xe6 / 255.0f },
        { false, false, false, 0x46, 0x3f / 255.0f },
        { true,  false, false, 0x66, 0x5c / 255.0f },
        { true,  true,  false, 0x7f, 0x73 / 255.0f } };

    for (const auto& s : states)
    {
        button->setEnabled (s.enabled);
        bare.setEnabled (s.enabled);
        const auto info = ::testing::Message() << s.over << s.down << s.enabled;
        const auto image = paintButton (*button, s.over, s.down, Colours::transparentBlack);

        // Highlight near (6, 5), plain colour beyond the gradient's reach.
        const auto centre = image.getPixelAt (6, 5);
        EXPECT_EQ (centre.getAlpha(), s.bodyAlpha) << info;
        // Colour read back through premultiplied alpha: only roughly exact.
        EXPECT_TRUE (near (centre.withAlpha ((uint8) 255), Colour (0xff925648), 6)) << info << " " << hex (centre);

        const auto edge = image.getPixelAt (32, 22);
        EXPECT_EQ (edge.getAlpha(), s.bodyAlpha) << info;
        EXPECT_TRUE (near (edge.withAlpha ((uint8) 255), Colour (0xff7d3524), 6)) << info << " " << hex (edge);

        // The border keeps its full opacity in every state.
        EXPECT_EQ (pixel (image, 1, 12), "FF884737") << info;
        EXPECT_TRUE (near (image.getPixelAt (34, 12), Colour (0xff884737), 2)) << info;
        EXPECT_EQ (pixel (image, 0, 12), "00000000") << info;

        const auto onWhite = paintButton (*button, s.over, s.down, Colours::white);
        const auto bareOnWhite = paintButton (bare, s.over, s.down, Colours::white);
        EXPECT_NEAR (glyphOpacity (onWhite, bareOnWhite, 18, 12), s.glyph, 0.02f) << info;
    }
}

TEST_F (LookAndFeelDrawing, TitleBarGlyphsAreFittedIntoTheButtonsMiddle)
{
    // Close, 35 × 25: a 13 × 13 cross from x 12, y 6.
    const auto close = titleButton (lookAndFeel, DocumentWindow::closeButton, 35);
    DocumentWindowButton bareClose ("bare", Colour (0xff7d3524), {}, {});
    bareClose.setSize (35, 25);

    const auto cross = paintButton (*close, false, false, Colours::white);
    const auto noCross = paintButton (bareClose, false, false, Colours::white);

    for (auto p : { Point<int> (14, 8), Point<int> (23, 8), Point<int> (18, 12), Point<int> (14, 16), Point<int> (23, 16) })
        EXPECT_GT (glyphOpacity (cross, noCross, p.x, p.y), 0.45f) << p.toString();

    for (auto p : { Point<int> (18, 8), Point<int> (18, 17), Point<int> (10, 12), Point<int> (27, 12), Point<int> (11, 6) })
        EXPECT_EQ (cross.getPixelAt (p.x, p.y), noCross.getPixelAt (p.x, p.y)) << p.toString();

    // Minimise, 24 × 25: a bar 10 long and 2.5 thick across the middle (y 11.25 to 13.75).
    const auto minimise = titleButton (lookAndFeel, DocumentWindow::minimiseButton, 24);
    DocumentWindowButton bareMinimise ("bare", Colour (0xff2a2a2a), {}, {});
    bareMinimise.setSize (24, 25);

    const auto bar = paintButton (*minimise, false, false, Colours::white);
    const auto noBar = paintButton (bareMinimise, false, false, Colours::white);
    EXPECT_NEAR (glyphOpacity (bar, noBar, 8, 12), 0x7e / 255.0f, 0.02f);
    EXPECT_NEAR (glyphOpacity (bar, noBar, 17, 12), 0x7e / 255.0f, 0.02f);

    for (auto p : { Point<int> (7, 12), Point<int> (18, 12), Point<int> (12, 10), Point<int> (12, 14) })
        EXPECT_EQ (bar.getPixelAt (p.x, p.y), noBar.getPixelAt (p.x, p.y)) << p.toString();

    EXPECT_EQ (pixel (paintButton (*minimise, false, false, {}), 1, 12), "FF3D3D3D");
    EXPECT_TRUE (near (paintButton (*minimise, true, true, {}).getPixelAt (6, 5), Colour (0xff4d4d4d), 2));
}

TEST_F (LookAndFeelDrawing, MaximiseButtonSwapsThePlusForTheFullScreenGlyphWhenToggled)
{
    const auto maximise = titleButton (lookAndFeel, DocumentWindow::maximiseButton, 24);
    DocumentWindowButton bare ("bare", Colour (0xff7f5506), {}, {});
    bare.setSize (24, 25);
    const auto noGlyph = paintButton (bare, false, false, Colours::white);

    const auto resting = paintButton (*maximise, false, false, Colours::transparentBlack);
    EXPECT_EQ (pixel (resting, 1, 12), "FF8A641C");
    EXPECT_TRUE (near (resting.getPixelAt (6, 5).withAlpha ((uint8) 255), Colour (0xff94712f), 3));

    // The plus: arms through the middle (x 11.75 to 14.25, y 11.25 to 13.75).
    const auto plus = paintButton (*maximise, false, false, Colours::white);
    EXPECT_GT (glyphOpacity (plus, noGlyph, 13, 13), 0.45f);
    EXPECT_GT (glyphOpacity (plus, noGlyph, 12, 8), 0.45f);
    EXPECT_EQ (plus.getPixelAt (10, 8), noGlyph.getPixelAt (10, 8));

    // Two frames: the top-left corner is ink, the inside of the front frame is not.
    maximise->setToggleState (true, dontSendNotification);
    const auto frames = paintButton (*maximise, false, false, Colours::white);
    EXPECT_GT (glyphOpacity (frames, noGlyph, 10, 8), 0.45f);
    EXPECT_EQ (frames.getPixelAt (13, 13), noGlyph.getPixelAt (13, 13));
}
