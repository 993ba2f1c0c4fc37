#include "install/RegistryRecords.h"
#include "product/Product.h"
#include "platform/Registry.h"

using namespace juce;

namespace
{
    // Command lines name programs in double quotes: unquoted, a path with spaces lets Windows
    // run a program found at a shorter prefix of it.
    String quotedPath (const String& path)
    {
        return "\"" + path + "\"";
    }
}

String RegistryRecords::uninstallKeyPath()
{
    return "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"
           + String (Product::name) + Product::versionString() + "\\";
}

void RegistryRecords::writeUninstallEntry (const String& standaloneFolder)
{
    const auto key = uninstallKeyPath();
    const auto version = Product::versionString();

    const std::pair<const char*, String> values[] =
    {
        { "DisplayName",     String (Product::name) + " " + version },
        { "DisplayIcon",     standaloneFolder + Product::executableName },
        { "DisplayVersion",  version },
        { "Contact",         {} },
        { "EstimatedSize",   "15000" },
        { "HelpLink",        {} },
        { "InstallDate",     String (Time::currentTimeMillis() / 1000) },
        { "InstallLocation", standaloneFolder },
        { "NoModify",        "1" },
        { "NoRepair",        "1" },
        { "Publisher",       Product::publisher },
        { "UninstallString", quotedPath (standaloneFolder + Product::uninstallerName) }
    };

    // Each value on its own: one that cannot be written does not keep the others out.
    for (auto& value : values)
        Registry::setValue (key + value.first, value.second);
}

namespace
{
    const String classesKey ("HKEY_CURRENT_USER\\Software\\Classes\\");

    String openCommandPath()
    {
        return RegistryRecords::presetTypeKeyPath() + "shell\\open\\command\\";
    }
}

String RegistryRecords::presetExtensionKeyPath()
{
    return classesKey + Product::presetExtension + "\\";
}

String RegistryRecords::presetTypeName()
{
    return String (Product::name) + "Preset";
}

String RegistryRecords::presetTypeKeyPath()
{
    return classesKey + presetTypeName() + "\\";
}

File RegistryRecords::registeredPresetProgram()
{
    // The program is the quoted text at the start, or, as older installers wrote it unquoted,
    // everything before the quoted placeholder.
    const auto command = Registry::getValue (openCommandPath()).trim();
    const auto program = command.startsWithChar ('"') ? command.substring (1).upToFirstOccurrenceOf ("\"", false, false)
                                                      : command.upToLastOccurrenceOf (" \"%1\"", false, false).trim();

    return File::isAbsolutePath (program) && ! program.startsWithChar ('~') ? File (program) : File();
}

bool RegistryRecords::registerPresetFileType (const File& executable)
{
    const auto typeName = presetTypeName();
    const auto path = executable.getFullPathName();

    const std::pair<String, String> values[] =
    {
        { presetExtensionKeyPath(),                   typeName },
        { presetTypeKeyPath(),                        String (Product::name) + " Preset" },
        { openCommandPath(),                          quotedPath (path) + " " + quotedPath ("%1") },
        { presetTypeKeyPath() + "DefaultIcon\\",      path + ",-101" }
    };

    bool allWritten = true;
    bool anyWritten = false;

    for (auto& value : values)
    {
        if (! Registry::setValue (value.first, value.second))
        {
            allWritten = false;
            break;
        }

        anyWritten = true;
    }

    if (anyWritten)
        Registry::notifyAssociationsChanged();

    return allWritten;
}
