// Makes and checks the ZIP archive that the installer carries (the payload).
//   payload_tool demo <out.zip> [ENTRY=PATH ...]          a deterministic stand-in for the product's files
//   payload_tool zip <folder> <out.zip> [ENTRY=PATH ...]  zips a folder of the real product's files
//   payload_tool check <zip>                              refuses an archive the installer could not use
//   payload_tool content-list <zip> <out>                 lists the content files for the uninstaller
// ENTRY=PATH hands in a file that the build made (the demo program, the uninstaller): in the demo
// it replaces that entry's placeholder, in a folder it is added only when the folder lacks it.
// The build runs these (cmake/Payload.cmake); every message goes to the console, and any
// failure ends with a non-zero exit status so that the build stops.
// ZIP records wall-clock times without a zone, so the tool works in UTC: the same files zip to
// the same bytes wherever and whenever they are zipped.

#include "product/Product.h"
#include "tools/payload/Checker.h"
#include "tools/payload/ContentList.h"
#include "tools/payload/DemoPayload.h"

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <iostream>

namespace
{
    int usage()
    {
        std::cerr << "usage: payload_tool demo <out.zip> [ENTRY=PATH ...]\n"
                     "       payload_tool zip <folder> <out.zip> [ENTRY=PATH ...]\n"
                     "       payload_tool check <zip>\n"
                     "       payload_tool content-list <zip> <out.txt>\n";
        return 2;
    }

    juce::File argumentFile (const juce::String& arg)
    {
        return juce::File::getCurrentWorkingDirectory().getChildFile (arg);
    }

    // Reads the ENTRY=PATH arguments from index first on, with each file's bytes. Their time
    // is the payload's to give: the file's own is only the time of the build.
    bool readSupplied (const juce::StringArray& args, int first, std::vector<PayloadEntry>& supplied)
    {
        for (int i = first; i < args.size(); ++i)
        {
            const auto name = args[i].upToFirstOccurrenceOf ("=", false, false);
            const auto file = argumentFile (args[i].fromFirstOccurrenceOf ("=", false, false));
            PayloadEntry e { name, {}, {} };

            if (! args[i].containsChar ('=') || name.isEmpty() || name.endsWithChar ('/'))
            {
                std::cerr << "payload_tool: " << args[i] << " is not ENTRY=PATH\n";
                return false;
            }

            if (! file.existsAsFile() || ! file.loadFileAsData (e.data))
            {
                std::cerr << "payload_tool: cannot read " << file.getFullPathName() << " for " << name << "\n";
                return false;
            }

            supplied.push_back (std::move (e));
        }

        return true;
    }

    int makeDemo (const juce::File& out, const std::vector<PayloadEntry>& supplied)
    {
        const auto required = Product::requiredPayloadEntries();

        for (auto& e : supplied)
        {
            if (! required.contains (e.name))
            {
                std::cerr << "payload_tool: the demo has no entry " << e.name.quoted() << " to replace\n";
                return 1;
            }
        }

        return writeArchive (demoPayload (supplied), out) ? 0 : 1;
    }

    // The time of the release that a folder holds, for the files the build adds to it:
    // SOURCE_DATE_EPOCH when the builder sets one, else the newest of the folder's files. A
    // build's own time would make every build's archive different.
    bool releaseTime (const std::vector<PayloadEntry>& entries, juce::Time& time)
    {
        const auto epoch = juce::SystemStats::getEnvironmentVariable ("SOURCE_DATE_EPOCH", {});

        if (epoch.isNotEmpty())
        {
            if (! epoch.containsOnly ("0123456789") || epoch.length() > 12)
            {
                std::cerr << "payload_tool: SOURCE_DATE_EPOCH is not a number of seconds: " << epoch << "\n";
                return false;
            }

            time = zipTime (juce::Time (epoch.getLargeIntValue() * 1000));
            return true;
        }

        time = zipTime ({});

        for (auto& e : entries)
            if (! e.isFolder())
                time = juce::jmax (time, e.time);

        return true;
    }

    // The folder's own file wins: a product that ships its own uninstaller keeps it.
    int zipFolder (const juce::File& folder, const juce::File& out, const std::vector<PayloadEntry>& supplied)
    {
        if (! folder.isDirectory())
        {
            std::cerr << "payload_tool: " << folder.getFullPathName() << " is not a folder\n";
            return 1;
        }

        std::vector<PayloadEntry> entries;
        juce::Time added;

        if (! collectFolder (folder, entries) || ! releaseTime (entries, added))
            return 1;

        for (auto& s : supplied)
        {
            if (std::none_of (entries.begin(), entries.end(), [&s] (const PayloadEntry& e) { return e.name == s.name; }))
            {
                entries.push_back (s);
                entries.back().time = added;
            }
        }

        return writeArchive (entries, out) ? 0 : 1;
    }
}

int main (int argc, char* argv[])
{
    setenv ("TZ", "UTC0", 1);
    tzset();

    const juce::StringArray args (argv + 1, argc - 1);
    const auto command = args[0];
    std::vector<PayloadEntry> supplied;

    if (command == "demo" && args.size() >= 2)
        return readSupplied (args, 2, supplied) ? makeDemo (argumentFile (args[1]), supplied) : 1;

    if (command == "zip" && args.size() >= 3)
        return readSupplied (args, 3, supplied) ? zipFolder (argumentFile (args[1]), argumentFile (args[2]), supplied) : 1;

    if (command == "check" && args.size() == 2)
        return checkPayload (argumentFile (args[1]));

    if (command == "content-list" && args.size() == 3)
        return writeContentList (argumentFile (args[1]), argumentFile (args[2]));

    return usage();
}
