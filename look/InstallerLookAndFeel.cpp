#include "look/InstallerLookAndFeel.h"
#include "look/DocumentWindowButton.h"
#include "product/Product.h"

using namespace juce;

namespace
{
    juce::uint8 toByte (float level) noexcept
    {
        if (level <= 0.0f)
            return 0;

        if (level >= 1.0f)
            return 255;

        return (juce::uint8) (level * 255.996f);
    }

    const Colour buttonFill       { 0xff191919 };
    const Colour buttonHoverFill  { 0xff200a15 };
    const Colour lightGrey        { 0xffd3d3d3 };
    const Colour darkGrey         { 0xff555555 };
    const Colour grey             { 0xff808080 };
    const Colour orange           { 0xffffa500 };

    void strokeRoundedRectangle (Graphics& g, float x, float y, float w, float h)
    {
        Path outline;
        outline.addRoundedRectangle (x, y, w, h, 1.0f);
        g.strokePath (outline, PathStrokeType (1.0f), AffineTransform::translation (-0.5f, -0.5f));
    }
}

const Colour InstallerLookAndFeel::lightTextGrey { 0xffb3b3b3 };
const Colour InstallerLookAndFeel::darkPanelGrey { 0xff212121 };
const Colour InstallerLookAndFeel::outlineBlue   { 0xff8296b4 };

Colour InstallerLookAndFeel::greyLevel (float level) noexcept
{
    const auto byte = toByte (level);
    return Colour (byte, byte, byte);
}

Colour InstallerLookAndFeel::withOpacity (Colour colour, float opacity) noexcept
{
    return colour.withAlpha (toByte (opacity));
}

InstallerLookAndFeel::InstallerLookAndFeel()
{
    setColour (DocumentWindow::textColourId, greyLevel (0.65f));
    setColour (FileChooserDialogBox::titleTextColourId, greyLevel (0.7f));
    setColour (ComboBox::backgroundColourId, darkPanelGrey);
    setColour (ComboBox::textColourId, lightTextGrey);
    setColour (ComboBox::arrowColourId, lightTextGrey);
    setColour (ComboBox::buttonColourId, darkPanelGrey);
    setColour (ComboBox::outlineColourId, Colours::black);
    setColour (Label::textColourId, lightTextGrey);
    setColour (PopupMenu::backgroundColourId, Colours::black);
    setColour (PopupMenu::textColourId, lightTextGrey);
    setColour (PopupMenu::headerTextColourId, darkGrey);
    setColour (PopupMenu::highlightedBackgroundColourId, darkPanelGrey);
    setColour (AlertWindow::backgroundColourId, darkPanelGrey);
    setColour (AlertWindow::textColourId, lightTextGrey);
    setColour (AlertWindow::outlineColourId, greyLevel (0.3f));
    setColour (TextEditor::focusedOutlineColourId, orange);
    setColour (TextEditor::textColourId, lightTextGrey);
    setColour (TextEditor::highlightColourId, grey);
    setColour (TextEditor::outlineColourId, outlineBlue);
    setColour (TextEditor::backgroundColourId, darkPanelGrey);
    setColour (ResizableWindow::backgroundColourId, darkPanelGrey);
    setColour (ListBox::textColourId, lightTextGrey);
    setColour (ListBox::backgroundColourId, Colour (0x00000000));
    setColour (TextButton::buttonColourId, grey);
    setColour (CaretComponent::caretColourId, lightTextGrey);

    // JUCE 7's file browser no longer takes its path box and file name field from the combo
    // box and text editor colours but from its own identifiers, which default to black on
    // white; give them the same dark colours as every other box.
    setColour (FileBrowserComponent::currentPathBoxBackgroundColourId, darkPanelGrey);
    setColour (FileBrowserComponent::currentPathBoxTextColourId, lightTextGrey);
    setColour (FileBrowserComponent::currentPathBoxArrowColourId, lightTextGrey);
    setColour (FileBrowserComponent::filenameBoxBackgroundColourId, darkPanelGrey);
    setColour (FileBrowserComponent::filenameBoxTextColourId, lightTextGrey);

    LookAndFeel::setDefaultLookAndFeel (this);
}

InstallerLookAndFeel::~InstallerLookAndFeel() = default;

//==============================================================================
void InstallerLookAndFeel::drawScrollbarButton (Graphics& g, ScrollBar&, int width, int height,
                                                int buttonDirection, bool, bool, bool isButtonDown)
{
    const auto w = (float) width;
    const auto h = (float) height;
    Path arrow;

    switch (buttonDirection)
    {
        case 0:  arrow.addTriangle (0.5f * w, 0.2f * h, 0.1f * w, 0.7f * h, 0.9f * w, 0.7f * h); break;
        case 1:  arrow.addTriangle (0.6f * w, 0.5f * h, 0.2f * w, 0.2f * h, 0.2f * w, 0.8f * h); break;
        case 2:  arrow.addTriangle (0.5f * w, 0.8f * h, 0.1f * w, 0.3f * h, 0.9f * w, 0.3f * h); break;
        case 3:  arrow.addTriangle (0.3f * w, 0.5f * h, 0.7f * w, 0.2f * h, 0.7f * w, 0.8f * h); break;
        default: return;
    }

    // Every arrow is stretched to the same flat band across the middle of the button.
    arrow.scaleToFit (3.0f, (float) (height / 2 - 3), w - 6.0f, 6.0f, false);

    const auto fill = greyLevel (0.3f);
    g.setColour (isButtonDown ? fill.contrasting (0.2f) : fill);
    g.fillPath (arrow);

    g.setColour (Colour (0x80000000));
    g.strokePath (arrow, PathStrokeType (0.5f));
}

void InstallerLookAndFeel::drawScrollbar (Graphics& g, ScrollBar&, int x, int y, int width, int height,
                                          bool isScrollbarVertical, int thumbStartPosition, int thumbSize,
                                          bool, bool)
{
    g.fillAll (Colours::black);

    g.setColour (greyLevel (0.06f));
    g.fillRect (Rectangle<int> (x, y, width, height).toFloat());

    if (thumbSize <= 0)
        return;

    const auto thumb = isScrollbarVertical
                         ? Rectangle<float> ((float) x + 0.5f, (float) thumbStartPosition - 0.5f,
                                             (float) width, (float) thumbSize + 1.0f)
                         : Rectangle<float> ((float) thumbStartPosition - 0.5f, (float) y + 0.5f,
                                             (float) thumbSize + 1.0f, (float) height);

    g.setColour (greyLevel (0.15f));
    g.fillRect (thumb);

    Path outline;
    outline.addRectangle (thumb);
    g.setColour (Colours::black);
    g.strokePath (outline, PathStrokeType (1.0f));
}

//==============================================================================
void InstallerLookAndFeel::drawButtonBackground (Graphics& g, Button& button, const Colour&,
                                                 bool isMouseOverButton, bool)
{
    // A pressed button looks like a hovered one, and the button's own colour is not used.
    const auto w = button.getWidth();
    const auto h = button.getHeight();

    g.setColour (isMouseOverButton ? buttonHoverFill : greyLevel (0.1f));
    g.fillRect (1, 1, w - 1, h - 1);

    g.setColour (button.hasKeyboardFocus (true) ? lightGrey : darkGrey);
    strokeRoundedRectangle (g, 2.0f, 2.0f, (float) (w - 3), (float) (h - 3));

    g.setColour (Colours::black);
    strokeRoundedRectangle (g, 1.0f, 1.0f, (float) (w - 1), (float) (h - 1));
}

void InstallerLookAndFeel::drawButtonText (Graphics& g, TextButton& button, bool, bool)
{
    g.setFont (Font (16.0f));
    g.setColour (button.isEnabled() ? lightGrey : grey);
    g.drawFittedText (button.getButtonText(), 0, 0, button.getWidth(), button.getHeight(),
                      Justification::centred, 1, 0.7f);
}

void InstallerLookAndFeel::drawTickBox (Graphics& g, Component&, float x, float y, float w, float,
                                        bool ticked, bool, bool, bool)
{
    const int side = 2 * (int) (w / 2.0f) - 5;
    const auto box = Rectangle<int> ((int) (x - 1.0f), (int) y, side, side).toFloat().translated (-0.5f, 2.5f);

    g.setColour (greyLevel (0.64f));
    g.drawRoundedRectangle (box, 2.0f, 1.0f);

    // Ticked is a solid square inside the outline rather than a tick mark.
    if (ticked)
        g.fillRect (box.getSmallestIntegerContainer().reduced (2));
}

//==============================================================================
void InstallerLookAndFeel::drawTextEditorOutline (Graphics& g, int width, int height, TextEditor& textEditor)
{
    if (! textEditor.isEnabled())
        return;

    const bool focused = textEditor.hasKeyboardFocus (true) && ! textEditor.isReadOnly();
    auto shadow = textEditor.findColour (TextEditor::shadowColourId);

    if (focused)
        shadow = shadow.withMultipliedAlpha (0.75f);

    g.setColour (textEditor.findColour (focused ? TextEditor::focusedOutlineColourId
                                                : TextEditor::outlineColourId));
    g.drawRect (0, 0, width, height);

    drawBevel (g, 0, 0, width, height + 2, 3, shadow, shadow, false);
}

//==============================================================================
void InstallerLookAndFeel::drawFileBrowserRow (Graphics& g, int width, int height,
                                               const File&, const String& filename, Image*,
                                               const String& fileSizeDescription,
                                               const String& fileTimeDescription,
                                               bool isDirectory, bool isItemSelected, int itemIndex,
                                               DirectoryContentsDisplayComponent&)
{
    // Folders are orange-brown, files neutral grey; alternate rows differ slightly in
    // brightness and each row has a faint band across its middle.
    const bool odd = (itemIndex % 2) != 0;
    const float saturation = isDirectory ? 0.5f : 0.0f;
    float brightness, middleChange;

    if (isItemSelected)
    {
        brightness = 0.3f;
        middleChange = -0.03f;
    }
    else if (odd)
    {
        brightness = isDirectory ? 0.25f : 0.12f;
        middleChange = 0.01f;
    }
    else
    {
        brightness = isDirectory ? 0.2f : 0.08f;
        middleChange = -0.01f;
    }

    const Colour edge (0.1f, saturation, brightness, 1.0f);
    ColourGradient gradient (edge, 0.0f, 0.0f, edge, 0.0f, (float) height, false);
    gradient.addColour (0.5, Colour (0.1f, saturation, brightness + middleChange, 1.0f));
    g.setGradientFill (gradient);
    g.fillAll();

    g.setColour (greyLevel (0.65f));
    g.setFont (g.getCurrentFont().withHeight ((float) height * 0.7f));

    if (width > 450 && ! isDirectory)
    {
        const int sizeX = roundToInt ((float) width * 0.7f);
        const int dateX = roundToInt ((float) width * 0.8f);

        g.drawFittedText (filename, 15, 0, sizeX - 15, height, Justification::centredLeft, 1, 0.7f);

        g.setFont (Font (10.0f));
        g.setColour (grey);
        g.drawFittedText (fileSizeDescription, sizeX, 0, dateX - sizeX - 8, height,
                          Justification::centredRight, 1, 0.7f);
        g.drawFittedText (fileTimeDescription, dateX, 0, width - dateX - 8, height,
                          Justification::centredRight, 1, 0.7f);
    }
    else
    {
        g.drawFittedText (filename, 15, 0, width - 15, height, Justification::centredLeft, 1, 0.7f);
    }
}

Button* InstallerLookAndFeel::createFileBrowserGoUpButton()
{
    auto* goUpButton = new DrawableButton ("up", DrawableButton::ImageOnButtonBackground);

    Path arrow;
    arrow.addArrow ({ 50.0f, 100.0f, 50.0f, 0.0f }, 40.0f, 100.0f, 50.0f);

    DrawablePath arrowImage;
    arrowImage.setPath (arrow);
    arrowImage.setFill (greyLevel (0.64f));

    goUpButton->setImages (&arrowImage);
    return goUpButton;
}

//==============================================================================
void InstallerLookAndFeel::drawAlertBox (Graphics& g, AlertWindow& alert,
                                         const Rectangle<int>& textArea, TextLayout& textLayout)
{
    g.fillAll (greyLevel (0.04f));

    int iconSize = jmin (alert.getHeight() + 10, 50);

    if (alert.containsAnyExtraComponents() || alert.getNumButtons() > 2)
        iconSize = jmin (iconSize, textArea.getHeight() + 50);

    float iconSpace = 0.0f;
    const auto iconType = alert.getAlertType();

    if (iconType != MessageBoxIconType::NoIcon)
    {
        const Rectangle<float> iconArea (30.0f, 30.0f, (float) iconSize, (float) iconSize);
        Path icon;
        Colour iconColour;
        juce_wchar symbol;

        if (iconType == MessageBoxIconType::WarningIcon)
        {
            iconColour = Colour (0x55ff5555);
            symbol = '!';
            icon.addTriangle (iconArea.getCentreX(), iconArea.getY(),
                              iconArea.getRight(), iconArea.getBottom(),
                              iconArea.getX(), iconArea.getBottom());
            icon = icon.createPathWithRoundedCorners (5.0f);
        }
        else
        {
            const bool info = iconType == MessageBoxIconType::InfoIcon;
            iconColour = Colour (info ? 0x605555ffu : 0x40b69900u);
            symbol = info ? 'i' : '?';
            icon.addEllipse (iconArea);
        }

        GlyphArrangement glyphs;
        glyphs.addFittedText (Font ((float) iconSize * 0.9f, Font::bold), String::charToString (symbol),
                              iconArea.getX(), iconArea.getY(), iconArea.getWidth(), iconArea.getHeight(),
                              Justification::centred, 1, 0.7f);
        glyphs.createPath (icon);

        // Even-odd filling cuts the symbol out of its shape.
        icon.setUsingNonZeroWinding (false);
        g.setColour (iconColour);
        g.fillPath (icon);

        iconSpace = 90.0f;
    }

    g.setColour (alert.findColour (AlertWindow::textColourId));
    auto textBounds = textArea.toFloat();
    textBounds.removeFromLeft (iconSpace);
    textLayout.draw (g, textBounds);

    g.setColour (alert.findColour (AlertWindow::outlineColourId));
    g.drawRect (0, 0, alert.getWidth(), alert.getHeight());
}

//==============================================================================
void InstallerLookAndFeel::drawMenuBarBackground (Graphics& g, int, int, bool, MenuBarComponent&)
{
    g.fillAll (greyLevel (0.04f));
}

int InstallerLookAndFeel::getDefaultMenuBarHeight()
{
    return 25;
}

Font InstallerLookAndFeel::getMenuBarFont (MenuBarComponent&, int, const String&)
{
    return Font (15.0f);
}

//==============================================================================
void InstallerLookAndFeel::drawComboBox (Graphics& g, int width, int height, bool, int, int, int, int,
                                         ComboBox& box)
{
    g.fillAll (box.findColour (ComboBox::backgroundColourId));

    Path chevron;
    chevron.startNewSubPath (0.0f, 1.0f);
    chevron.lineTo (1.0f, 0.0f);
    chevron.lineTo (0.0f, -1.0f);
    chevron.scaleToFit ((float) width - 10.0f, (float) height - 10.0f, 6.0f, 6.0f, true);

    g.setColour (greyLevel (0.64f));
    g.strokePath (chevron, PathStrokeType (1.0f), AffineTransform::translation (0.5f, 0.5f));

    g.setColour (outlineBlue.darker (0.3f));
    g.drawRect (0, 0, width, height);
}

//==============================================================================
void InstallerLookAndFeel::drawLabel (Graphics& g, Label& label)
{
    // A label hands its own colours to the editor it opens, so this makes in-place edited
    // text grey.
    const auto grey64 = greyLevel (0.64f);
    label.setColour (TextEditor::textColourId, grey64);

    g.fillAll (label.findColour (Label::backgroundColourId));

    if (! label.isBeingEdited())
    {
        const float alpha = label.isEnabled() ? 1.0f : 0.5f;
        const Font font (getLabelFont (label));

        g.setColour (label.findColour (Label::textColourId).withMultipliedAlpha (alpha));
        g.setFont (font);

        const auto textArea = label.getBorderSize().subtractedFrom (label.getLocalBounds());
        g.drawFittedText (label.getText(), textArea, label.getJustificationType(),
                          jmax (1, (int) ((float) textArea.getHeight() / font.getHeight())),
                          label.getMinimumHorizontalScale());

        g.setColour (label.findColour (Label::outlineColourId).withMultipliedAlpha (alpha));
        g.drawRect (label.getLocalBounds());
    }
    else if (label.isEnabled())
    {
        label.setColour (Label::textColourId, grey64);
        g.setColour (grey64);
        g.drawRect (label.getLocalBounds());
    }
}

//==============================================================================
void InstallerLookAndFeel::fillResizableWindowBackground (Graphics& g, int, int, const BorderSize<int>&,
                                                          ResizableWindow&)
{
    g.fillAll (greyLevel (0.08f));
}

//==============================================================================
Button* InstallerLookAndFeel::createDocumentWindowButton (int buttonType)
{
    Path shape;

    if (buttonType == DocumentWindow::closeButton)
    {
        shape.addLineSegment ({ 0.0f, 0.0f, 1.0f, 1.0f }, 0.35f);
        shape.addLineSegment ({ 1.0f, 0.0f, 0.0f, 1.0f }, 0.35f);
        return new DocumentWindowButton ("Close", Colour (0xff7d3524), shape, shape);
    }

    if (buttonType == DocumentWindow::minimiseButton)
    {
        shape.addLineSegment ({ 0.0f, 0.5f, 1.0f, 0.5f }, 0.25f);
        return new DocumentWindowButton ("Minimise", Colour (0xff2a2a2a), shape, shape);
    }

    if (buttonType == DocumentWindow::maximiseButton)
    {
        shape.addLineSegment ({ 0.5f, 0.0f, 0.5f, 1.0f }, 0.25f);
        shape.addLineSegment ({ 0.0f, 0.5f, 1.0f, 0.5f }, 0.25f);

        // Two overlapping square frames, the back one open at its lower-right corner.
        Path fullScreenShape;
        fullScreenShape.startNewSubPath (45.0f, 100.0f);
        fullScreenShape.lineTo (0.0f, 100.0f);
        fullScreenShape.lineTo (0.0f, 0.0f);
        fullScreenShape.lineTo (100.0f, 0.0f);
        fullScreenShape.lineTo (100.0f, 45.0f);
        fullScreenShape.addRectangle (45.0f, 45.0f, 100.0f, 100.0f);
        PathStrokeType (30.0f).createStrokedPath (fullScreenShape, fullScreenShape);

        return new DocumentWindowButton (juce::String (Product::name) + " Window Size", Colour (0xff7f5506), shape, fullScreenShape);
    }

    return nullptr;
}

void InstallerLookAndFeel::positionDocumentWindowButtons (DocumentWindow&,
                                                          int titleBarX, int titleBarY, int titleBarW, int titleBarH,
                                                          Button* minimiseButton, Button* maximiseButton,
                                                          Button* closeButton, bool positionTitleBarButtonsOnLeft)
{
    constexpr int closeWidth = 35;
    constexpr int otherWidth = 24;

    int x = positionTitleBarButtonsOnLeft ? titleBarX : titleBarX + titleBarW - closeWidth;

    if (closeButton != nullptr)
    {
        closeButton->setBounds (x, titleBarY, closeWidth, titleBarH);
        x += positionTitleBarButtonsOnLeft ? closeWidth : -otherWidth;
    }

    // Maximise sits next to the close button on the right; on the left minimise comes first.
    auto* first  = positionTitleBarButtonsOnLeft ? minimiseButton : maximiseButton;
    auto* second = positionTitleBarButtonsOnLeft ? maximiseButton : minimiseButton;

    if (first != nullptr)
    {
        first->setBounds (x, titleBarY, otherWidth, titleBarH);
        x += positionTitleBarButtonsOnLeft ? otherWidth : -otherWidth;
    }

    if (second != nullptr)
        second->setBounds (x, titleBarY, otherWidth, titleBarH);
}
