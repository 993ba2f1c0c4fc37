#pragma once

#include <juce_core/juce_core.h>

// A folder of the program's own in the temporary folder, for files on their way to places that
// only administrators may change. It is always made new, under a name not in use, and never
// reached through a link: a folder, link or junction that stands at a name beforehand only
// makes it try another. While the object lives, no one else can change what is inside: on
// Windows only administrators and the system may write there (users may read and run what it
// holds, so that a program moved out of it stays runnable by everyone), and the folder cannot
// be renamed or removed; on Linux it belongs to its owner alone (mode 0700).
class PrivateFolder
{
public:
    // Makes the folder "<prefix>-<random>" in parent; getResult tells whether that worked.
    PrivateFolder (const juce::File& parent, const juce::String& prefix);

    // Lets go of the folder, which stays where it is unless removeAll was called.
    ~PrivateFolder();

    const juce::Result& getResult() const  { return result; }

    // The folder; when it could not be made, the name last tried.
    const juce::File& getFile() const      { return folder; }

    // Removes everything in the folder, following no link, then the folder itself. Returns
    // false when something stayed.
    bool removeAll();

    // The access rules every private folder is made with: on Windows its access list as SDDL,
    // on Linux its mode in octal.
    static juce::String accessRules();

private:
    enum class Made { made, nameTaken, failed };

    // The platform's part: makes folder with its access rules and holds it.
    Made make();
    void release();

    juce::File folder;
    juce::Result result { juce::Result::ok() };
    void* hold = nullptr;

    JUCE_DECLARE_NON_COPYABLE (PrivateFolder)
};
