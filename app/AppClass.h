#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

class InstallerWindow;

// The application object: names the installer, allows one running instance only, and opens
// the one main window.
class AppClass : public juce::JUCEApplication
{
public:
    AppClass();
    ~AppClass() override;

    const juce::String getApplicationName() override;
    const juce::String getApplicationVersion() override;
    bool moreThanOneInstanceAllowed() override;
    void initialise (const juce::String& commandLine) override;
    void shutdown() override;
    void anotherInstanceStarted (const juce::String& commandLine) override;

private:
    std::unique_ptr<InstallerWindow> mainWindow;
};
