#include "platform/PrivateFolder.h"

PrivateFolder::PrivateFolder (const juce::File& parent, const juce::String& prefix)
{
    // The name need not be secret, only new: every attempt makes the folder or fails. Hard to
    // guess, it is also hard to block by making its names beforehand.
    juce::Random random (juce::Random::getSystemRandom().nextInt64() ^ juce::Time::getHighResolutionTicks());

    for (int attempt = 0; attempt < 32; ++attempt)
    {
        folder = parent.getChildFile (prefix + "-" + juce::String::toHexString (random.nextInt()).paddedLeft ('0', 8));

        switch (make())
        {
            case Made::made:      return;
            case Made::failed:    result = juce::Result::fail ("Failed to create target folder: " + folder.getFullPathName()); return;
            case Made::nameTaken: break;
        }
    }

    result = juce::Result::fail ("Failed to create target folder: " + folder.getFullPathName());
}

PrivateFolder::~PrivateFolder()
{
    release();
}

bool PrivateFolder::removeAll()
{
    if (result.failed())
        return false;

    bool removed = true;

    for (const auto& child : folder.findChildFiles (juce::File::findFilesAndDirectories, false))
        removed = child.deleteRecursively (false) && removed;

    // The folder itself can go only once it is no longer held. Should something take its place
    // in that moment, removing it removes that link, never what it leads to.
    release();
    return folder.deleteFile() && removed;
}
