#include "install/EntryNames.h"

#include <map>

juce::String EntryNames::unsafeReason (const juce::String& name)
{
    if (name.isEmpty())
        return "an entry has an empty name";

    const auto quoted = name.quoted();

    if (name.containsChar ('\\'))
        return quoted + " contains a backslash (use \"/\" between folders)";

    if (name.startsWithChar ('/'))
        return quoted + " is an absolute path";

    if (name.containsChar (':'))
        return quoted + " contains a colon (a drive letter such as \"C:\" or a stream name)";

    const auto components = juce::StringArray::fromTokens (name, "/", "");

    if (components.contains (".."))
        return quoted + " leaves its folder through \"..\"";

    // "." could make an entry the unpacking folder itself.
    if (components.contains ("."))
        return quoted + " names a folder \".\"";

    return {};
}

juce::StringArray EntryNames::caseClashes (const juce::StringArray& names)
{
    // Every folder on the way counts too: "Data/x" and "data/y" would share one folder.
    std::map<juce::String, juce::String> firstSpelling;
    juce::StringArray clashes;

    for (const auto& name : names)
    {
        const auto components = juce::StringArray::fromTokens (name.trimCharactersAtEnd ("/"), "/", "");

        for (int depth = 1; depth <= components.size(); ++depth)
        {
            const auto prefix = components.joinIntoString ("/", 0, depth);
            auto& first = firstSpelling[prefix.toLowerCase()];

            if (first.isEmpty())
                first = prefix;
            else if (first != prefix)
                clashes.addIfNotAlreadyThere (first.quoted() + " and " + prefix.quoted()
                                              + " differ only in letter case (one would replace the other on Windows)");
        }
    }

    return clashes;
}
