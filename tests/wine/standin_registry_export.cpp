// Writes the Linux registry stand-in's file with awkward values, for the Wine test that imports
// it with Wine's own regedit. Run with HOME pointing at a sandbox:
//   standin_registry_export EXPECTED
// It prints the stand-in's file and writes EXPECTED: for every value, its full path and the text
// it should hold after the import, each followed by a zero byte (UTF-8).
#include "install/RegistryRecords.h"
#include "platform/Registry.h"

#include <iostream>

using namespace juce;

namespace
{
    String utf8 (const char* text)
    {
        return String (CharPointer_UTF8 (text));
    }
}

int main (int argc, char** argv)
{
    if (argc != 2)
    {
        std::cerr << "usage: standin_registry_export EXPECTED\n";
        return 2;
    }

    const String test ("HKEY_CURRENT_USER\\Software\\Kestrune\\Import test\\");
    const String other = utf8 ("HKCU\\Software\\Kestrune\\\xd0\x9a\xd0\xbb\xd1\x8e\xd1\x87 Jos\xc3\xa9 [x]\\");

    // What each value is meant to hold is the text handed to the stand-in.
    const std::pair<String, String> values[] =
    {
        { test + "Quotes",          "say \"hello\" and \"\"" },
        { test + "Backslashes",     "C:\\Program Files (x86)\\Kestrune\\Sorna\\" },
        { test + "Share",           "\\\\server\\share\\\\double\\" },
        { test + "Quote at end",    "ends in a backslash and quote \\\"" },
        { test + "Non-ASCII",       utf8 ("Jos\xc3\xa9 \xd0\x94\xd0\xbe\xd0\xba\xd1\x83\xd0\xbc\xd0\xb5\xd0\xbd\xd1\x82\xd1\x8b \xe2\x80\x93 \xe6\x97\xa5\xe6\x9c\xac \xf0\x9d\x84\x9e") },
        { test + "Line breaks",     "first\nsecond\r\nthird\r" },
        { test + "Empty",           {} },
        { test + "Comment chars",   "a=b; not a comment ;\t[tab]" },
        { test + "Padded",          "  spaces around  " },
        { test + utf8 ("Na\xc3\xafve \"quoted\" name"), "value of an awkward name" },
        { test,                     "the key's default value" },
        { other + "Path",           utf8 ("C:\\Users\\Jos\xc3\xa9\\\xd0\x94\xd0\xbe\xd0\xba\xd1\x83\xd0\xbc\xd0\xb5\xd0\xbd\xd1\x82\xd1\x8b\\") },
        { test + "Overwritten",     "first text, replaced below" },
        { test + "Overwritten",     "second text" },
    };

    MemoryOutputStream expected;
    auto expect = [&expected] (const String& path, const String& value)
    {
        expected << path;
        expected.writeByte (0);
        expected << value;
        expected.writeByte (0);
    };

    int failures = 0;

    for (auto& value : values)
        if (! Registry::setValue (value.first, value.second))
            ++failures;

    for (size_t i = 0; i < std::size (values); ++i)
        if (values[i].first != test + "Overwritten" || i + 1 == std::size (values))
            expect (values[i].first, values[i].second);

    // The installation's own records, for an awkward folder. Their values are composed by the
    // installer, so what they are meant to hold is what the stand-in itself reads back.
    RegistryRecords::writeUninstallEntry (utf8 ("C:\\Programme Jos\xc3\xa9\\\"Kestrune\"\\"));
    RegistryRecords::registerPresetFileType (File (utf8 ("/opt/Programme Jos\xc3\xa9/Sorna \"x\"/Sorna.exe")));

    const StringArray uninstallNames { "DisplayName", "DisplayIcon", "DisplayVersion", "Contact", "EstimatedSize",
                                       "HelpLink", "InstallDate", "InstallLocation", "NoModify", "NoRepair",
                                       "Publisher", "UninstallString" };
    StringArray recordPaths;

    for (auto& name : uninstallNames)
        recordPaths.add (RegistryRecords::uninstallKeyPath() + name);

    const String classes ("HKEY_CURRENT_USER\\Software\\Classes\\");
    recordPaths.addArray ({ classes + ".srn\\", classes + "SornaPreset\\", classes + "SornaPreset\\shell\\open\\command\\",
                            classes + "SornaPreset\\DefaultIcon\\" });

    const String missing ("<missing from the stand-in>");

    for (auto& path : recordPaths)
    {
        const auto stored = Registry::getValue (path, missing);

        if (stored == missing)
            ++failures;

        expect (path, stored);
    }

    if (failures > 0 || ! File (argv[1]).replaceWithData (expected.getData(), expected.getDataSize()))
    {
        std::cerr << "the stand-in could not write " << failures << " values\n";
        return 1;
    }

    std::cout << Registry::standInFile().getFullPathName() << "\n";
    return 0;
}
