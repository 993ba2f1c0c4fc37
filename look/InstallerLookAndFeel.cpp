#include "look/InstallerLookAndFeel.h"

using juce::Colour;

const Colour InstallerLookAndFeel::lightTextGrey { 0xffb3b3b3 };
const Colour InstallerLookAndFeel::darkPanelGrey { 0xff212121 };
const Colour InstallerLookAndFeel::outlineBlue   { 0xff8296b4 };

InstallerLookAndFeel::InstallerLookAndFeel()
{
    using namespace juce;

    setColour (DocumentWindow::textColourId, Colour::greyLevel (0.65f));
    setColour (FileChooserDialogBox::titleTextColourId, Colour::greyLevel (0.7f));
    setColour (ComboBox::backgroundColourId, darkPanelGrey);
    setColour (ComboBox::textColourId, lightTextGrey);
    setColour (ComboBox::arrowColourId, lightTextGrey);
    setColour (ComboBox::buttonColourId, darkPanelGrey);
    setColour (ComboBox::outlineColourId, Colours::black);
    setColour (Label::textColourId, lightTextGrey);
    setColour (PopupMenu::backgroundColourId, Colours::black);
    setColour (PopupMenu::textColourId, lightTextGrey);
    setColour (PopupMenu::headerTextColourId, Colour (0xff555555));
    setColour (PopupMenu::highlightedBackgroundColourId, darkPanelGrey);
    setColour (AlertWindow::backgroundColourId, darkPanelGrey);
    setColour (AlertWindow::textColourId, lightTextGrey);
    setColour (AlertWindow::outlineColourId, Colour::greyLevel (0.3f));
    setColour (TextEditor::focusedOutlineColourId, Colour (0xffffa500));
    setColour (TextEditor::textColourId, lightTextGrey);
    setColour (TextEditor::highlightColourId, Colour (0xff808080));
    setColour (TextEditor::outlineColourId, outlineBlue);
    setColour (TextEditor::backgroundColourId, darkPanelGrey);
    setColour (ResizableWindow::backgroundColourId, darkPanelGrey);
    setColour (ListBox::textColourId, lightTextGrey);
    setColour (ListBox::backgroundColourId, Colour (0x00000000));
    setColour (TextButton::buttonColourId, Colour (0xff808080));
    setColour (CaretComponent::caretColourId, lightTextGrey);

    LookAndFeel::setDefaultLookAndFeel (this);
}

InstallerLookAndFeel::~InstallerLookAndFeel() = default;
