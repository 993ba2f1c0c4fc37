#pragma once

#include <juce_core/juce_core.h>

// A fresh, empty home for one test: HOME, TMPDIR and the XDG folders point into it while the
// object lives, so every special folder the installer uses (application data, documents,
// desktop, temporary files) lands inside it. Removed again afterwards.
class Sandbox
{
public:
    Sandbox();
    ~Sandbox();

    juce::File home() const       { return root; }
    juce::File appData() const;
    juce::File documents() const;
    juce::File desktop() const;
    juce::File temp() const;

    // A writable folder inside the sandbox for the test's own use (created).
    juce::File folder (const juce::String& relativePath) const;

private:
    juce::File root;
    juce::StringPairArray saved;

    JUCE_DECLARE_NON_COPYABLE (Sandbox)
};
