#include "ui/InstallThread.h"

namespace
{
    // Hands the job's status and progress to the progress window, and the window's cancel
    // button to the job.
    class ProgressWindowAdapter : public InstallProgress
    {
    public:
        explicit ProgressWindowAdapter (juce::ThreadWithProgressWindow& w) : window (w) {}

        void setStatusMessage (const juce::String& status) override  { window.setStatusMessage (status); }
        void setProgress (double value) override                    { window.setProgress (value); }
        bool shouldStop() override                                   { return window.threadShouldExit(); }

    private:
        juce::ThreadWithProgressWindow& window;
    };
}

InstallThread::InstallThread()
    : ThreadWithProgressWindow ("Installation Progress", true, true, stopTimeoutMs, {}, nullptr)
{
    // A stray key must not stop an installation, only a click on Cancel: the alert-box factory
    // gives a lone button Escape and Return as shortcuts, and the box itself, like a focused
    // button, clicks it on Return.
    if (auto* window = getAlertWindow())
    {
        window->addKeyListener (&keysThatMustNotCancel);

        for (auto* child : window->getChildren())
        {
            if (auto* button = dynamic_cast<juce::Button*> (child))
            {
                button->clearShortcuts();
                button->addKeyListener (&keysThatMustNotCancel);
            }
        }
    }
}

InstallThread::~InstallThread()
{
    stopThread (stopTimeoutMs);

    if (auto* window = getAlertWindow())
    {
        window->removeKeyListener (&keysThatMustNotCancel);

        for (auto* child : window->getChildren())
            child->removeKeyListener (&keysThatMustNotCancel);
    }
}

bool InstallThread::KeysThatMustNotCancel::keyPressed (const juce::KeyPress& key, juce::Component*)
{
    return key.isKeyCode (juce::KeyPress::escapeKey) || key.isKeyCode (juce::KeyPress::returnKey);
}

bool InstallThread::install (Job job)
{
    currentJob = std::move (job);
    ranToEnd = false;

    // The framework counts any Cancel pressed while the thread still runs as a cancelled run,
    // even when the job had passed its last stop point and went on to finish.
    runThread (juce::Thread::Priority::normal);
    currentJob = nullptr;
    return ranToEnd;
}

void InstallThread::run()
{
    ProgressWindowAdapter adapter (*this);
    ranToEnd = currentJob != nullptr && currentJob (adapter);
}
