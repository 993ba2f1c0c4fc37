#include "targets/FolderText.h"

juce::String FolderText::withPlatformSeparators (const juce::String& path)
{
    return path.replaceCharacter ('/', juce::File::getSeparatorChar());
}

juce::String FolderText::normaliseFolder (const juce::String& folderText)
{
    auto folder = folderText;

    // Only a real separator closes the folder: on Linux a final backslash is part of the name,
    // and the files must go inside the folder of that name, not beside it.
    if (! folder.endsWithChar ('/') && ! folder.endsWithChar (juce::File::getSeparatorChar()))
        folder += juce::File::getSeparatorString();

    return withPlatformSeparators (folder);
}

juce::String FolderText::forDisplay (const juce::String& path)
{
    return path.replaceCharacter ('\\', '/');
}
