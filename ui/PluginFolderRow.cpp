#include "ui/PluginFolderRow.h"
#include "targets/PluginFormat.h"
#include "ui/ScreenLayout.h"

PluginFolderRow::PluginFolderRow (const juce::String& hint, int formatId, const juce::Image& folderIcon)
    : browseButton (std::make_unique<juce::ImageButton>()),
      folderEditor (std::make_unique<juce::TextEditor>()),
      formatBox (std::make_unique<juce::ComboBox>())
{
    folderEditor->setTextToShowWhenEmpty (hint, ScreenLayout::greyText);

    for (auto format : { vst32, vst64, vst3_32, vst3_64 })
        formatBox->addItem (getFormatLabel (format), format);

    // Asynchronous on purpose: the screen sees the row's first format once the message loop
    // runs, which is when a VST3 row receives its fixed folder.
    formatBox->setSelectedId (formatId, juce::sendNotificationAsync);

    setFolderIcon (*browseButton, folderIcon);
}

void PluginFolderRow::setFolderIcon (juce::ImageButton& button, const juce::Image& folderIcon)
{
    const juce::Colour noOverlay (0x00000000);
    button.setImages (false, false, true,
                      folderIcon, 0.7f, noOverlay,
                      {}, 1.0f, noOverlay,
                      {}, 1.0f, noOverlay,
                      0.0f);
}

void PluginFolderRow::addTo (juce::Component& screen, juce::Button::Listener& buttons, juce::ComboBox::Listener& formats)
{
    screen.addAndMakeVisible (browseButton.get());
    screen.addAndMakeVisible (folderEditor.get());
    screen.addAndMakeVisible (formatBox.get());
    formatBox->addListener (&formats);
    browseButton->addListener (&buttons);
}

void PluginFolderRow::setNumber (int number)
{
    browseButton->setTitle ("Browse for plugin folder " + juce::String (number));
    folderEditor->setTitle ("Plugin folder " + juce::String (number));
    formatBox->setTitle ("Plugin format " + juce::String (number));
}

juce::Rectangle<int> PluginFolderRow::layOut (juce::Rectangle<int> area)
{
    using namespace ScreenLayout;
    area.removeFromLeft (labelWidth);
    browseButton->setBounds (area.removeFromRight (browseButtonWidth));
    area.removeFromRight (browseButtonGap);
    formatBox->setBounds (area.removeFromRight (formatBoxWidth));
    area.removeFromRight (formatBoxGap);
    folderEditor->setBounds (area);
    return area;
}
