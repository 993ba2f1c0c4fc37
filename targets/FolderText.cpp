#include "targets/FolderText.h"

juce::String FolderText::withPlatformSeparators (const juce::String& path)
{
    return path.replaceCharacter ('/', juce::File::getSeparatorChar());
}

juce::String FolderText::normaliseFolder (const juce::String& folderText)
{
    auto folder = folderText;

    if (! folder.endsWithChar ('/') && ! folder.endsWithChar ('\\'))
        folder += juce::File::getSeparatorString();

    return withPlatformSeparators (folder);
}

juce::String FolderText::forDisplay (const juce::String& path)
{
    return path.replaceCharacter ('\\', '/');
}
