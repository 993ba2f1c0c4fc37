#pragma once

#include "install/InstallJob.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <atomic>
#include <functional>

// Runs an installation job on its own thread behind the modal progress window, and can be
// run again after a cancel.
class InstallThread : public juce::ThreadWithProgressWindow
{
public:
    static constexpr int stopTimeoutMs = 10000;

    // The job reports to the progress window and hears its Cancel button through progress;
    // it returns true when it ran to the end, false when it stopped at a stop request.
    using Job = std::function<bool (InstallProgress& progress)>;

    InstallThread();
    ~InstallThread() override;

    // Runs the job and returns its own outcome: true when it ran to the end, even if Cancel
    // was pressed after its last stop point; false when it stopped early.
    bool install (Job job);

    void run() override;

private:
    // Takes Escape and Return before the progress window sees them: it would treat either as a
    // click on its only button.
    struct KeysThatMustNotCancel : public juce::KeyListener
    {
        bool keyPressed (const juce::KeyPress& key, juce::Component*) override;
    };

    KeysThatMustNotCancel keysThatMustNotCancel;
    Job currentJob;
    std::atomic<bool> ranToEnd { false };

    JUCE_DECLARE_NON_COPYABLE (InstallThread)
};
