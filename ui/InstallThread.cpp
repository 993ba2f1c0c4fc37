#include "ui/InstallThread.h"
#include "install/InstallJob.h"
#include "ui/InstallerComponent.h"

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

InstallThread::InstallThread (InstallerComponent& s)
    : ThreadWithProgressWindow ("Installation Progress", true, true, stopTimeoutMs, {}, nullptr),
      screen (s)
{
}

InstallThread::~InstallThread()
{
    stopThread (stopTimeoutMs);
}

bool InstallThread::install (const InstallOptions& choices)
{
    options = choices;
    return runThread (juce::Thread::Priority::normal);
}

void InstallThread::run()
{
    ProgressWindowAdapter adapter (*this);
    InstallJob job (options, screen.getProperties(), screen.getErrorText(), adapter);
    job.run();
}
