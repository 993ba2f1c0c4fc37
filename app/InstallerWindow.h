#pragma once

#include "look/ScreenFit.h"

#include <juce_gui_basics/juce_gui_basics.h>

class InstallerLookAndFeel;
class InstallerComponent;

// The installer's one top-level window. It owns the look-and-feel and the installer screen,
// and deletes the screen first so that nothing is drawn with a look-and-feel that is gone.
class InstallerWindow : public juce::DocumentWindow
{
public:
    static constexpr int startWidth = ScreenFit::windowWidth;
    static constexpr int startHeight = ScreenFit::windowHeight;
    static constexpr int titleBarHeight = 25;

    InstallerWindow();
    ~InstallerWindow() override;

    void closeButtonPressed() override;

    InstallerComponent& getScreen() { return *content; }

private:
    std::unique_ptr<InstallerLookAndFeel> lookAndFeel;
    std::unique_ptr<InstallerComponent> content;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (InstallerWindow)
};
