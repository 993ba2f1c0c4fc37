#include <gtest/gtest.h>
#include "look/DocumentWindowButton.h"
#include "look/InstallerLookAndFeel.h"
#include "tests/support/Rendering.h"

#include <functional>

using namespace juce;

namespace
{
    bool near (Colour actual, Colour expected, int tolerance)
    {
        return std::abs ((int) actual.getRed()   - (int) expected.getRed())   <= tolerance
            && std::abs ((int) actual.getGreen() - (int) expected.getGreen()) <= tolerance
            && std::abs ((int) actual.getBlue()  - (int) expected.getBlue())  <= tolerance;
    }

    // The leftmost column in a band of rows that holds anything but the background (the
    // window outline in column 0 aside).
    int leftmostInk (const Image& image, int top, int bottom, Colour background)
    {
        for (int x = 1; x < image.getWidth(); ++x)
            for (int y = top; y < bottom; ++y)
                if (image.getPixelAt (x, y) != background)
                    return x;

        return -1;
    }

    void pumpMessages (int milliseconds)
    {
        MessageManager::getInstance()->runDispatchLoopUntil (milliseconds);
    }

    class LookAndFeelWindows : public ::testing::Test
    {
    protected:
        InstallerLookAndFeel lookAndFeel;
    };
}

//==============================================================================
TEST_F (LookAndFeelWindows, AlertBoxIsNearBlackWithAGreyOutlineAndNoIconSpaceWithoutIcon)
{
    // Not given a look-and-feel of its own: the default draws it.
    AlertWindow alert ("Title", "Do you really want to stop installation?", MessageBoxIconType::NoIcon);
    alert.addButton ("Abort", 1);
    alert.addButton ("Cancel", 0);

    const auto snapshot = alert.createComponentSnapshot (alert.getLocalBounds(), true, 1.0f);
    const int h = alert.getHeight();
    EXPECT_EQ (pixel (snapshot, 0, h / 2), "FF4C4C4C");
    EXPECT_EQ (pixel (snapshot, alert.getWidth() - 1, h / 2), "FF4C4C4C");
    EXPECT_EQ (pixel (snapshot, 5, 5), "FF0A0A0A");
    EXPECT_EQ (pixel (snapshot, alert.getWidth() - 5, h / 2), "FF0A0A0A");

    // Its buttons are the installer's push buttons.
    Component* abort = nullptr;
    for (auto* child : alert.getChildren())
        if (auto* button = dynamic_cast<TextButton*> (child); button != nullptr && button->getButtonText() == "Abort")
            abort = button;
    ASSERT_NE (abort, nullptr);
    const auto b = abort->getBounds();
    EXPECT_EQ (pixel (snapshot, b.getX(), b.getCentreY()), "FF000000");
    EXPECT_EQ (pixel (snapshot, b.getX() + 2, b.getCentreY()), "FF191919");

    // The message starts at the text area's left edge.
    AttributedString text;
    text.append ("MMMM", Font (15.0f), Colours::white);
    TextLayout layout;
    layout.createLayout (text, 1000.0f);

    const auto image = render (400, 130, [&] (Graphics& g)
    {
        lookAndFeel.drawAlertBox (g, alert, { 20, 100, 300, 20 }, layout);
    });
    EXPECT_NEAR (leftmostInk (image, 100, 120, Colour (0xff0a0a0a)), 20, 2);
}

TEST_F (LookAndFeelWindows, AlertIconIs40For30PxWindows50OtherwiseAndShiftsTheTextBy90)
{
    AttributedString text;
    text.append ("MMMM", Font (15.0f), Colours::white);
    TextLayout layout;
    layout.createLayout (text, 1000.0f);

    const auto background = Colour (0xff0a0a0a);
    const auto question = background.overlaidWith (Colour (0x40b69900));

    auto draw = [&] (AlertWindow& alert, int windowHeight, Rectangle<int> textArea)
    {
        alert.setSize (400, windowHeight);
        return render (400, 130, [&] (Graphics& g) { lookAndFeel.drawAlertBox (g, alert, textArea, layout); });
    };

    AlertWindow alert ("", "", MessageBoxIconType::QuestionIcon);

    // 30 px high: a circle of 40 at (30, 30).
    const auto small = draw (alert, 30, { 20, 100, 300, 20 });
    EXPECT_TRUE (near (small.getPixelAt (68, 50), question, 1)) << pixel (small, 68, 50);
    EXPECT_TRUE (near (small.getPixelAt (31, 50), question, 1)) << pixel (small, 31, 50);
    EXPECT_TRUE (near (small.getPixelAt (50, 31), question, 1)) << pixel (small, 50, 31);
    EXPECT_EQ (pixel (small, 72, 50), "FF0A0A0A");
    EXPECT_EQ (pixel (small, 28, 50), "FF0A0A0A");
    EXPECT_EQ (pixel (small, 50, 28), "FF0A0A0A");
    EXPECT_EQ (pixel (small, 0, 20), "FF4C4C4C");    // outline of the 30 px window
    EXPECT_EQ (pixel (small, 0, 40), "FF0A0A0A");

    // The "?" is cut out of the circle: somewhere inside, the background shows through.
    bool cutOut = false;
    for (int y = 40; y < 60; ++y)
        for (int x = 45; x < 55; ++x)
            cutOut = cutOut || small.getPixelAt (x, y) == background;
    EXPECT_TRUE (cutOut);

    // 100 px high: 50.
    const auto large = draw (alert, 100, { 20, 100, 300, 20 });
    EXPECT_TRUE (near (large.getPixelAt (76, 55), question, 1)) << pixel (large, 76, 55);
    EXPECT_EQ (pixel (large, 81, 55), "FF0A0A0A");

    // Text 90 px to the right of the text area's left edge.
    EXPECT_NEAR (leftmostInk (large, 100, 120, background), 110, 2);

    // A text area narrower than 90 is removed entirely, leaving its right edge as the start.
    const auto narrow = draw (alert, 100, { 20, 100, 80, 20 });
    EXPECT_NEAR (leftmostInk (narrow, 100, 120, background), 100, 2);

    // Three buttons and a 20 px text area allow 70, so the icon stays 50.
    AlertWindow threeButtons ("", "", MessageBoxIconType::InfoIcon);
    for (int i = 0; i < 3; ++i)
        threeButtons.addButton ("B" + String (i), i);
    const auto info = background.overlaidWith (Colour (0x605555ff));
    const auto three = draw (threeButtons, 100, { 20, 100, 300, 20 });
    EXPECT_TRUE (near (three.getPixelAt (76, 55), info, 1)) << pixel (three, 76, 55);
    EXPECT_EQ (pixel (three, 81, 55), "FF0A0A0A");

    // The window's own outline colour is used.
    alert.setColour (AlertWindow::outlineColourId, Colours::red);
    EXPECT_EQ (pixel (draw (alert, 100, { 20, 100, 300, 20 }), 0, 50), "FFFF0000");
}

TEST_F (LookAndFeelWindows, WarningIconIsATranslucentRedTriangleWithTheMarkCutOut)
{
    TextLayout layout;
    AlertWindow alert ("", "", MessageBoxIconType::WarningIcon);
    alert.setSize (400, 100);

    const auto image = render (400, 100, [&] (Graphics& g)
    {
        lookAndFeel.drawAlertBox (g, alert, { 120, 30, 200, 40 }, layout);
    });

    const auto background = Colour (0xff0a0a0a);
    const auto red = background.overlaidWith (Colour (0x55ff5555));

    // Triangle (55, 30), (80, 80), (30, 80), corners rounded.
    EXPECT_TRUE (near (image.getPixelAt (38, 76), red, 1)) << pixel (image, 38, 76);
    EXPECT_TRUE (near (image.getPixelAt (72, 76), red, 1)) << pixel (image, 72, 76);
    EXPECT_TRUE (near (image.getPixelAt (55, 38), red, 1)) << pixel (image, 55, 38);
    EXPECT_EQ (image.getPixelAt (35, 40), background);
    EXPECT_EQ (image.getPixelAt (75, 40), background);
    EXPECT_EQ (image.getPixelAt (55, 83), background);
    EXPECT_EQ (image.getPixelAt (30, 80), background);   // rounded away

    bool cutOut = false;
    for (int y = 45; y < 75; ++y)
        cutOut = cutOut || image.getPixelAt (55, y) == background;
    EXPECT_TRUE (cutOut);
}

//==============================================================================
TEST_F (LookAndFeelWindows, WindowBackgroundIsDarkGreyWhateverTheWindowColour)
{
    DocumentWindow window ("Window", Colours::black, DocumentWindow::minimiseButton | DocumentWindow::closeButton, false);
    window.setLookAndFeel (&lookAndFeel);
    window.setUsingNativeTitleBar (false);
    window.setTitleBarHeight (25);
    window.setSize (300, 200);

    const auto image = window.createComponentSnapshot (window.getLocalBounds(), true, 1.0f);
    EXPECT_EQ (pixel (image, 150, 150), "FF141414");
    EXPECT_EQ (pixel (image, 10, 190), "FF141414");

    const auto direct = render (50, 50, [&] (Graphics& g)
    {
        lookAndFeel.fillResizableWindowBackground (g, 50, 50, {}, window);
    });
    EXPECT_EQ (pixel (direct, 0, 0), "FF141414");
    EXPECT_EQ (pixel (direct, 49, 49), "FF141414");

    window.setLookAndFeel (nullptr);
}

TEST_F (LookAndFeelWindows, TitleBarHasCloseRightmostAndMinimiseBesideIt)
{
    DocumentWindow window ("Window", Colours::black, DocumentWindow::minimiseButton | DocumentWindow::closeButton, false);
    window.setLookAndFeel (&lookAndFeel);
    window.setUsingNativeTitleBar (false);
    window.setResizable (false, false);
    window.setTitleBarHeight (25);
    window.setSize (800, 720);

    const auto bar = window.getTitleBarArea();
    ASSERT_EQ (bar.getHeight(), 25);

    auto* close = dynamic_cast<DocumentWindowButton*> (window.getCloseButton());
    auto* minimise = dynamic_cast<DocumentWindowButton*> (window.getMinimiseButton());
    ASSERT_NE (close, nullptr);
    ASSERT_NE (minimise, nullptr);
    EXPECT_EQ (window.getMaximiseButton(), nullptr);

    EXPECT_EQ (close->getName(), "Close");
    EXPECT_EQ (minimise->getName(), "Minimise");
    EXPECT_EQ (close->getBounds(), Rectangle<int> (bar.getRight() - 35, bar.getY(), 35, 25));
    EXPECT_EQ (minimise->getBounds(), Rectangle<int> (bar.getRight() - 59, bar.getY(), 24, 25));

    // In the window's picture: the close button's border, then the minimise button's.
    const auto image = window.createComponentSnapshot (window.getLocalBounds(), true, 1.0f);
    const auto closeX = close->getX();
    const auto minimiseX = minimise->getX();
    EXPECT_EQ (pixel (image, closeX + 1, bar.getY() + 12), "FF884737");
    EXPECT_EQ (pixel (image, minimiseX + 1, bar.getY() + 12), "FF3D3D3D");

    window.setLookAndFeel (nullptr);
}

TEST_F (LookAndFeelWindows, TitleBarButtonsArePlacedLeftOrRightAndMissingOnesTakeNoSpace)
{
    DocumentWindow window ("Window", Colours::black, 0, false);
    TextButton minimise, maximise, close;

    auto place = [&] (Button* mi, Button* ma, Button* cl, bool left)
    {
        for (auto* b : { &minimise, &maximise, &close })
            b->setBounds ({});

        lookAndFeel.positionDocumentWindowButtons (window, 10, 5, 300, 25, mi, ma, cl, left);
    };

    place (&minimise, &maximise, &close, false);
    EXPECT_EQ (close.getBounds(), Rectangle<int> (275, 5, 35, 25));
    EXPECT_EQ (maximise.getBounds(), Rectangle<int> (251, 5, 24, 25));
    EXPECT_EQ (minimise.getBounds(), Rectangle<int> (227, 5, 24, 25));

    place (&minimise, &maximise, &close, true);
    EXPECT_EQ (close.getBounds(), Rectangle<int> (10, 5, 35, 25));
    EXPECT_EQ (minimise.getBounds(), Rectangle<int> (45, 5, 24, 25));
    EXPECT_EQ (maximise.getBounds(), Rectangle<int> (69, 5, 24, 25));

    place (&minimise, nullptr, &close, false);
    EXPECT_EQ (close.getBounds(), Rectangle<int> (275, 5, 35, 25));
    EXPECT_EQ (minimise.getBounds(), Rectangle<int> (251, 5, 24, 25));
    EXPECT_TRUE (maximise.getBounds().isEmpty());

    place (&minimise, &maximise, nullptr, true);
    EXPECT_EQ (minimise.getBounds(), Rectangle<int> (10, 5, 24, 25));
    EXPECT_EQ (maximise.getBounds(), Rectangle<int> (34, 5, 24, 25));

    place (nullptr, &maximise, nullptr, true);
    EXPECT_EQ (maximise.getBounds(), Rectangle<int> (10, 5, 24, 25));

    place (&minimise, nullptr, nullptr, false);
    EXPECT_EQ (minimise.getBounds(), Rectangle<int> (275, 5, 24, 25));
}

//==============================================================================
namespace
{
    // A small window on the (virtual) display, so that its children can take the keyboard focus.
    struct FocusHost : Component
    {
        FocusHost()
        {
            setSize (300, 200);
            addToDesktop (ComponentPeer::windowIsTemporary);
            setVisible (true);
            pumpMessages (200);
        }

        ~FocusHost() override { removeFromDesktop(); }

        bool focus (Component& c)
        {
            for (int attempt = 0; attempt < 20 && ! c.hasKeyboardFocus (false); ++attempt)
            {
                toFront (true);
                c.grabKeyboardFocus();
                pumpMessages (50);
            }

            return c.hasKeyboardFocus (false);
        }
    };
}

TEST_F (LookAndFeelWindows, FocusTurnsTheButtonsInnerOutlineLightAndTheEditorOutlineOrange)
{
    FocusHost host;
    TextButton button ("OK");
    TextEditor editor;
    ToggleButton toggle ("Create desktop shortcut");
    button.setBounds (10, 10, 60, 24);
    editor.setBounds (10, 50, 100, 24);
    toggle.setBounds (10, 90, 200, 24);
    for (auto* c : std::initializer_list<Component*> { &button, &editor, &toggle })
        host.addAndMakeVisible (c);

    auto drawButton = [&]
    {
        return render (60, 24, [&] (Graphics& g) { lookAndFeel.drawButtonBackground (g, button, {}, false, false); });
    };
    auto drawEditor = [&]
    {
        return render (100, 24, [&] (Graphics& g) { lookAndFeel.drawTextEditorOutline (g, 100, 24, editor); });
    };

    ASSERT_TRUE (host.focus (button));
    EXPECT_EQ (pixel (drawButton(), 1, 12), "FFD3D3D3");
    EXPECT_EQ (pixel (drawButton(), 0, 12), "FF000000");

    editor.setColour (TextEditor::shadowColourId, Colour (0x40000000));
    EXPECT_EQ (pixel (drawEditor(), 50, 1), "40000000");

    ASSERT_TRUE (host.focus (editor));
    EXPECT_EQ (pixel (drawButton(), 1, 12), "FF555555");
    EXPECT_EQ (pixel (drawEditor(), 50, 1), "30000000");   // shadow at three quarters

    editor.setColour (TextEditor::shadowColourId, Colours::transparentBlack);
    EXPECT_EQ (pixel (drawEditor(), 50, 0), "FFFFA500");
    EXPECT_EQ (pixel (drawEditor(), 0, 12), "FFFFA500");

    // Focused but read-only: the plain outline.
    editor.setReadOnly (true);
    ASSERT_TRUE (host.focus (editor));
    EXPECT_EQ (pixel (drawEditor(), 50, 0), "FF8296B4");

    // The framework's toggle button outlines itself in the editor's focus colour.
    ASSERT_TRUE (host.focus (toggle));
    const auto toggleImage = toggle.createComponentSnapshot (toggle.getLocalBounds(), true, 1.0f);
    EXPECT_EQ (pixel (toggleImage, 0, 12), "FFFFA500");
}

TEST_F (LookAndFeelWindows, AnEditedLabelTurnsAndStaysGrey)
{
    FocusHost host;
    Label label ("name", "Sorna");
    label.setBounds (10, 10, 120, 24);
    label.setEditable (true);
    host.addAndMakeVisible (label);

    auto draw = [&] { return render (120, 24, [&] (Graphics& g) { lookAndFeel.drawLabel (g, label); }); };

    draw();
    EXPECT_EQ (hex (label.findColour (Label::textColourId)), "FFB3B3B3");

    // Painting handed grey to the editor that opens for in-place editing.
    label.showEditor();
    auto* editor = label.getCurrentTextEditor();
    ASSERT_NE (editor, nullptr);
    EXPECT_EQ (hex (editor->findColour (TextEditor::textColourId)), "FFA3A3A3");

    const auto editing = draw();
    EXPECT_EQ (pixel (editing, 0, 12), "FFA3A3A3");
    EXPECT_EQ (pixel (editing, 119, 12), "FFA3A3A3");

    label.hideEditor (true);
    EXPECT_EQ (hex (label.findColour (Label::textColourId)), "FFA3A3A3");

    // Being edited while disabled: only the background.
    label.setColour (Label::backgroundColourId, Colours::navy);
    label.showEditor();
    label.setEnabled (false);
    ASSERT_TRUE (label.isBeingEdited());
    const auto disabled = draw();
    EXPECT_EQ (pixel (disabled, 0, 12), hex (Colours::navy));
    EXPECT_EQ (pixel (disabled, 60, 12), hex (Colours::navy));
    label.hideEditor (true);
}
