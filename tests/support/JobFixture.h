#pragma once

#include "install/InstallJob.h"
#include "install/InstallProperties.h"
#include "tests/support/PayloadCheck.h"
#include "tests/support/Sandbox.h"

#include <gtest/gtest.h>

#include <functional>

// Records what the job reports and stops it at the n-th stop point (1 to 4; none when 0).
struct RecordingProgress : public InstallProgress
{
    int stopAtPoint = 0;
    int pointsSeen = 0;
    juce::StringArray statuses;
    juce::Array<double> values;
    std::function<void (const juce::String&)> onStatus;

    void setStatusMessage (const juce::String& s) override;
    void setProgress (double v) override  { values.add (v); }
    bool shouldStop() override            { return ++pointsSeen == stopAtPoint; }
};

// Puts a folder of the sandbox on a memory file system (its path stays the same), so that
// nothing unpacked in the sandbox can be hard linked into it: every copy into it then writes
// its bytes, as it does on Windows or on another disk. Not ready when there is no room there.
struct FolderOnAnotherFileSystem
{
    explicit FolderOnAnotherFileSystem (const juce::File& folder);
    ~FolderOnAnotherFileSystem();

    bool ready() const { return place != juce::File(); }

    juce::File place;
};

// The installation job in a sandboxed home, with three plug-in rows (VST 32 into "VstPlugins",
// an empty VST 64 row, VST3 32 into "VST3") and a stand-alone folder that the screen's checks
// would have created.
struct JobFixture : public ::testing::Test
{
    Sandbox sandbox;
    InstallOptions options;
    std::unique_ptr<InstallProperties> properties;
    juce::String errorText;
    RecordingProgress progress;
    PayloadCheck payload;
    juce::File plugins32, plugins3, standalone;
    juce::File temporaryParent;         // where the job makes its temporary folder; the system's when unset
    juce::File lastTemporaryFolder;     // where the last run unpacked

    void SetUp() override;

    // A fresh settings store read from the sandbox, as the screen reads it at start-up.
    void loadProperties();

    // Runs the job (over other payload bytes when given), then checks that nothing it left
    // as installed differs from the installer's own payload.
    bool runJob (const juce::MemoryBlock* payloadBytes = nullptr);

    juce::File contentFolder() const;
    juce::File temporaryFolder() const  { return lastTemporaryFolder; }
    juce::File savedProperties() const;

    // An attribute of the saved install.xml; "<absent>" or "<no file>" when there is none.
    juce::String saved (const juce::String& name) const;
};
