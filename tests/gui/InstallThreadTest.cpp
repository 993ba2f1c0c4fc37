#include <gtest/gtest.h>

#include "ui/InstallThread.h"
#include "tests/support/GuiHelpers.h"

#include <atomic>

// The thread behind the progress window reports the job's own outcome, and only a click on
// Cancel asks the job to stop.
namespace
{
    // Presses keys on the progress window as a user would, then lets the job finish.
    class KeyPresser : private juce::Timer
    {
    public:
        explicit KeyPresser (std::atomic<bool>& jobMayFinish) : release (jobMayFinish) { startTimer (20); }
        ~KeyPresser() override { stopTimer(); }

        int keysPressed = 0;

    private:
        void timerCallback() override
        {
            auto* alert = findModalAlert();
            auto* peer = alert != nullptr ? alert->getPeer() : nullptr;

            if (peer == nullptr)
                return;

            if (keysPressed < 2)
            {
                peer->handleKeyPress (juce::KeyPress (keysPressed == 0 ? juce::KeyPress::escapeKey : juce::KeyPress::returnKey));
                ++keysPressed;
            }
            else if (++ticksAfterKeys > 10)
            {
                release = true;
                stopTimer();
            }
        }

        std::atomic<bool>& release;
        int ticksAfterKeys = 0;
    };
}

TEST (InstallThread, CancelPressedAfterTheJobsLastStopPointStillCountsAsFinished)
{
    InstallThread thread;
    std::atomic<bool> stopWasRequested { false };

    // A job past its last stop point: it sees the request but goes on to the end.
    DialogAnswerer answer ("Cancel");
    const auto finished = thread.install ([&] (InstallProgress& progress)
    {
        for (int i = 0; i < 1000 && ! progress.shouldStop(); ++i)
            juce::Thread::sleep (5);

        stopWasRequested = progress.shouldStop();
        return true;
    });

    ASSERT_TRUE (answer.answered());
    EXPECT_EQ (answer.dialogs().getFirst().title, "Installation Progress");
    EXPECT_TRUE (stopWasRequested);
    EXPECT_TRUE (finished);

    // A job that stops at a stop request is reported as stopped, and the thread runs again.
    DialogAnswerer again ("Cancel");
    EXPECT_FALSE (thread.install ([] (InstallProgress& progress)
    {
        while (! progress.shouldStop())
            juce::Thread::sleep (5);
        return false;
    }));
}

TEST (InstallThread, EscapeAndReturnDoNotCancelTheJob)
{
    InstallThread thread;
    std::atomic<bool> jobMayFinish { false }, stopWasRequested { false };

    KeyPresser keys (jobMayFinish);
    const auto finished = thread.install ([&] (InstallProgress& progress)
    {
        for (int i = 0; i < 2000 && ! jobMayFinish; ++i)
        {
            if (progress.shouldStop())
            {
                stopWasRequested = true;
                return false;
            }
            juce::Thread::sleep (5);
        }
        return true;
    });

    EXPECT_EQ (keys.keysPressed, 2);
    EXPECT_FALSE (stopWasRequested);
    EXPECT_TRUE (finished);
}
