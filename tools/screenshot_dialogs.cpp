// Shows one of the installer's dialogs with the installer's look-and-feel, for screenshots:
//   screenshot_dialogs warning | progress | complete
// The dialog stays up until it is closed (the progress window ends after a minute).
#include <juce_gui_basics/juce_gui_basics.h>
#include "look/InstallerLookAndFeel.h"
#include "product/Product.h"

namespace
{
    // Stands in for the installation job: a status line and a progress bar part way along.
    class FakeJob : public juce::ThreadWithProgressWindow
    {
    public:
        FakeJob() : ThreadWithProgressWindow ("Installation Progress", true, true, 10000, {}, nullptr) {}

        void run() override
        {
            setStatusMessage ("Copying plugin");
            setProgress (0.4);

            for (int i = 0; i < 600 && ! threadShouldExit(); ++i)
                wait (100);
        }
    };
}

class ScreenshotDialogs : public juce::JUCEApplication
{
public:
    const juce::String getApplicationName() override    { return "screenshot_dialogs"; }
    const juce::String getApplicationVersion() override { return "1.0"; }
    bool moreThanOneInstanceAllowed() override          { return true; }

    void initialise (const juce::String& commandLine) override
    {
        lookAndFeel = std::make_unique<InstallerLookAndFeel>();
        const auto which = commandLine.trim();

        if (which == "warning")
        {
            juce::AlertWindow::showMessageBoxAsync (juce::MessageBoxIconType::WarningIcon,
                                                    "Could not create standalone install directory",
                                                    juce::String ("Permission denied") + Product::administratorHint(), "OK",
                                                    nullptr, juce::ModalCallbackFunction::create ([] (int) { quit(); }));
        }
        else if (which == "progress")
        {
            juce::MessageManager::callAsync ([]
            {
                FakeJob job;
                job.runThread();
                quit();
            });
        }
        else if (which == "complete")
        {
            juce::MessageManager::callAsync ([]
            {
                juce::AlertWindow::showMessageBox (juce::MessageBoxIconType::NoIcon, "Installation Complete",
                                                   "Thank you for installing " + juce::String (Product::name) + "!\n"
                                                   "The following errors occurred during installation:\n"
                                                   "(a sample failure line)\n" + Product::administratorHint(),
                                                   "Ok");
                quit();
            });
        }
        else
        {
            quit();
        }
    }

    void shutdown() override { lookAndFeel.reset(); }

private:
    std::unique_ptr<InstallerLookAndFeel> lookAndFeel;
};

START_JUCE_APPLICATION (ScreenshotDialogs)
