// Makes and checks the ZIP archive that the installer carries (the payload).
//   payload_tool demo <out.zip>            a deterministic stand-in for the product's files
//   payload_tool zip <folder> <out.zip>    zips a folder of the real product's files
//   payload_tool check <zip>               refuses an archive the installer could not use
// The build runs these (cmake/Payload.cmake); every message goes to the console, and any
// failure ends with a non-zero exit status so that the build stops.

#include "tools/payload/Checker.h"
#include "tools/payload/DemoPayload.h"

#include <iostream>

namespace
{
    int usage()
    {
        std::cerr << "usage: payload_tool demo <out.zip>\n"
                     "       payload_tool zip <folder> <out.zip>\n"
                     "       payload_tool check <zip>\n";
        return 2;
    }

    juce::File argumentFile (const juce::String& arg)
    {
        return juce::File::getCurrentWorkingDirectory().getChildFile (arg);
    }
}

int main (int argc, char* argv[])
{
    const juce::StringArray args (argv + 1, argc - 1);
    const auto command = args[0];

    if (command == "demo" && args.size() == 2)
        return writeArchive (demoPayload(), argumentFile (args[1])) ? 0 : 1;

    if (command == "zip" && args.size() == 3)
    {
        const auto folder = argumentFile (args[1]);

        if (! folder.isDirectory())
        {
            std::cerr << "payload_tool: " << folder.getFullPathName() << " is not a folder\n";
            return 1;
        }

        std::vector<PayloadEntry> entries;
        return collectFolder (folder, entries) && writeArchive (entries, argumentFile (args[2])) ? 0 : 1;
    }

    if (command == "check" && args.size() == 2)
        return checkPayload (argumentFile (args[1]));

    return usage();
}
