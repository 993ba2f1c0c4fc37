#pragma once

#include "install/InstallOptions.h"
#include "platform/PrivateFolder.h"

class InstallProperties;

// What the job reports to, and hears from, whoever runs it: the progress window in the
// installer, a recorder in tests.
class InstallProgress
{
public:
    virtual ~InstallProgress() = default;
    virtual void setStatusMessage (const juce::String& status) = 0;
    virtual void setProgress (double progress) = 0;
    virtual bool shouldStop() = 0;
};

// The system folders the job installs into or works in.
struct InstallFolders
{
    juce::File documents, temporary, desktop;

    static InstallFolders fromSystem();
};

// The installation itself: unpacks the payload, puts every file in place, leaves the registry
// records and the shortcut, and saves the remembered choices. A failing step never stops it:
// each failure appends a line to errorText. Only a stop request does, at four fixed points.
class InstallJob
{
public:
    InstallJob (const InstallOptions& options, InstallProperties& properties, juce::String& errorText,
                InstallProgress& progress, InstallFolders folders = InstallFolders::fromSystem());

    // Uses the payload linked into the installer unless another block is given (tests).
    void setPayload (const void* data, size_t size);

    // Returns false when it stopped at a stop request, true when it ran to the end.
    bool run();

    // The folder the last run unpacked into: a new one each run, which only the job can
    // change while it works (PrivateFolder). It stays after a run that reported a failure.
    juce::File getTemporaryFolder() const;
    juce::String getContentFolder() const;

private:
    bool stopRequested();
    void copyContent (const juce::File& data, const juce::String& contentFolder);
    bool installPlugins (const juce::File& temporaryFolder);
    void installStandalone (const juce::File& temporaryFolder, const juce::String& folder, bool needs64BitLibrary);
    void copyFile (const juce::File& source, const juce::File& destination);

    const InstallOptions& options;
    InstallProperties& properties;
    juce::String& errorText;
    InstallProgress& progress;
    InstallFolders folders;
    const void* payloadData = nullptr;
    size_t payloadSize = 0;
    std::unique_ptr<PrivateFolder> temporary;
};
