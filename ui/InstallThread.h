#pragma once

#include "install/InstallOptions.h"

#include <juce_gui_basics/juce_gui_basics.h>

class InstallerComponent;

// Runs the installation job on its own thread behind the modal progress window, and can be
// run again after a cancel.
class InstallThread : public juce::ThreadWithProgressWindow
{
public:
    static constexpr int stopTimeoutMs = 10000;

    explicit InstallThread (InstallerComponent& screen);
    ~InstallThread() override;

    // Runs the job with these choices; returns true when it ended by itself, false when the
    // user cancelled it.
    bool install (const InstallOptions& choices);

    void run() override;

private:
    InstallerComponent& screen;
    InstallOptions options;

    JUCE_DECLARE_NON_COPYABLE (InstallThread)
};
