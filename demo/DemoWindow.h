#pragma once

#include "demo/DemoLaunch.h"

#include <juce_gui_basics/juce_gui_basics.h>

// The demo program's one window: its title names the opened file, and a read-only text shows
// the file's full path and the working folder, so that they can be selected and copied.
class DemoWindow : public juce::DocumentWindow
{
public:
    explicit DemoWindow (const DemoLaunch& launch);

    void closeButtonPressed() override;
    bool keyPressed (const juce::KeyPress& key) override;

private:
    class Content : public juce::Component
    {
    public:
        explicit Content (const DemoLaunch& launch);
        void resized() override;

        juce::Label heading;
        juce::TextEditor details;
    };

    Content content;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (DemoWindow)
};
