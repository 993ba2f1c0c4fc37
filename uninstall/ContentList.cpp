#include "uninstall/ContentList.h"
#include "install/Crc32.h"

extern "C" const char sorna_res_contentList_data[];
extern "C" const char sorna_res_contentList_end[];

namespace
{
    bool isSafePath (const juce::String& path)
    {
        if (path.isEmpty() || path.startsWithChar ('/') || path.containsAnyOf ("\\:") || path.endsWithChar ('/'))
            return false;

        for (auto& part : juce::StringArray::fromTokens (path, "/", {}))
            if (part.isEmpty() || part == "." || part == "..")
                return false;

        return true;
    }
}

juce::Array<ContentFile> ContentList::parse (const juce::String& text)
{
    juce::Array<ContentFile> files;

    for (auto& line : juce::StringArray::fromLines (text))
    {
        const auto digits = line.substring (0, 8);
        const auto path = line.substring (9);

        if (line.length() < 10 || line[8] != ' ' || ! digits.containsOnly ("0123456789abcdef") || ! isSafePath (path))
            continue;

        files.add ({ (juce::uint32) digits.getHexValue32(), path });
    }

    return files;
}

juce::Array<ContentFile> ContentList::embedded()
{
    const auto size = (size_t) (sorna_res_contentList_end - sorna_res_contentList_data);
    return parse (juce::String::fromUTF8 (sorna_res_contentList_data, (int) size));
}

bool ContentList::checksumOf (const juce::File& file, juce::uint32& checksum)
{
    juce::FileInputStream in (file);

    if (! in.openedOk())
        return false;

    const auto sum = Crc32::of (in);

    if (in.getStatus().failed() || sum.size != in.getTotalLength())
        return false;

    checksum = sum.crc;
    return true;
}
