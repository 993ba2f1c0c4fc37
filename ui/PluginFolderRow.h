#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// One plug-in destination row of the screen: a folder field, a format box offering the four
// plug-in formats, and a browse button. The row owns its three controls; the screen shows them.
struct PluginFolderRow
{
    PluginFolderRow (const juce::String& hint, int formatId, const juce::Image& folderIcon);

    std::unique_ptr<juce::ImageButton> browseButton;
    std::unique_ptr<juce::TextEditor> folderEditor;
    std::unique_ptr<juce::ComboBox> formatBox;

    // A row whose folder came back from the settings store keeps it through its start-up
    // format notification, even for a VST3 format.
    bool folderRestored = false;

    // Shows the row's controls on the screen, which hears their clicks and format changes.
    void addTo (juce::Component& screen, juce::Button::Listener& buttons, juce::ComboBox::Listener& formats);

    // The titles a screen reader announces, with the row's number counted from 1.
    void setNumber (int number);

    // Places the controls in one row's area: browse button at the right, then the format box,
    // the folder field taking the rest. Returns the folder field's bounds.
    juce::Rectangle<int> layOut (juce::Rectangle<int> area);

    // Gives a browse button the folder icon.
    static void setFolderIcon (juce::ImageButton& button, const juce::Image& folderIcon);

    JUCE_DECLARE_NON_COPYABLE (PluginFolderRow)
};
