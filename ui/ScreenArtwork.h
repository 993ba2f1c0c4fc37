#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// What the screen shows besides its controls: the background, the two logos with the version
// line, the folder icon of the browse buttons and the licence text, all linked into the program.
class ScreenArtwork
{
public:
    ScreenArtwork();

    void paint (juce::Graphics& g, juce::Rectangle<int> screenBounds, const juce::String& versionLine) const;

    const juce::Image& getFolderIcon() const  { return folderIcon; }
    static juce::String licenceText();

private:
    juce::Image productLogo, makerLogo, backgroundTile, folderIcon;
};
