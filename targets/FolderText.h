#pragma once

#include <juce_core/juce_core.h>

// Folder texts as the user types them and as the installer composes them. Paths that the
// installer stores or uses take the platform's separator ("\" on Windows); texts it shows
// take forward slashes.
namespace FolderText
{
    // Every "/" becomes the platform's separator (nothing changes where that is "/").
    juce::String withPlatformSeparators (const juce::String& path);

    // A closing separator unless the text already ends in "/" or the platform's separator ("\" on
    // Windows; on Linux a final "\" is part of the name), then platform separators:
    // "C:/x" becomes "C:\x\" on Windows, and an empty text becomes the separator alone.
    juce::String normaliseFolder (const juce::String& folderText);

    // Every "\" becomes "/", for display.
    juce::String forDisplay (const juce::String& path);
}
