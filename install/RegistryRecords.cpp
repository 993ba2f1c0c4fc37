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

    File fromFullPath (const String& path)
    {
        return File::isAbsolutePath (path) && ! path.startsWithChar ('~') ? File (path) : File();
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

File RegistryRecords::registeredUninstaller()
{
    const auto command = Registry::getValue (uninstallKeyPath() + "UninstallString").trim();
    return fromFullPath (command.startsWithChar ('"') ? command.substring (1).upToFirstOccurrenceOf ("\"", false, false)
                                                       : command);
}

namespace
{
    const String classesKey ("HKEY_CURRENT_USER\\Software\\Classes\\");

    String openCommandPath()
    {
        return RegistryRecords::presetTypeKeyPath() + "shell\\open\\command\\";
    }

    String presetTypeDescription()
    {
        return String (Product::name) + " Preset";
    }

    // The icon value is the program's path and this resource number.
    const String iconResource (",-101");
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

    return fromFullPath (program);
}

bool RegistryRecords::registerPresetFileType (const File& executable)
{
    const auto typeName = presetTypeName();
    const auto path = executable.getFullPathName();

    const std::pair<String, String> values[] =
    {
        { presetExtensionKeyPath(),                   typeName },
        { presetTypeKeyPath(),                        presetTypeDescription() },
        { openCommandPath(),                          quotedPath (path) + " " + quotedPath ("%1") },
        { presetTypeKeyPath() + "DefaultIcon\\",      path + iconResource }
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

bool RegistryRecords::unregisterPresetFileType (const File& executable)
{
    const auto typeKey = presetTypeKeyPath();
    bool allGone = true;

    auto removeIfStill = [&allGone] (const String& valuePath, bool stillOurs)
    {
        if (stillOurs)
            allGone = Registry::deleteValue (valuePath) && allGone;
    };

    removeIfStill (openCommandPath(), registeredPresetProgram() == executable);
    const auto icon = Registry::getValue (typeKey + "DefaultIcon\\");
    removeIfStill (typeKey + "DefaultIcon\\", icon.endsWith (iconResource)
                                                  && fromFullPath (icon.dropLastCharacters (iconResource.length())) == executable);
    removeIfStill (typeKey, Registry::getValue (typeKey) == presetTypeDescription());

    // Innermost first, so that a key emptied here lets the one around it go too.
    for (auto* key : { "shell\\open\\command", "shell\\open", "shell", "DefaultIcon", "" })
        allGone = Registry::deleteKeyIfEmpty (typeKey + key) && allGone;

    // ".srn" may have been given to another type since; then it is not ours to touch.
    const auto extensionKey = presetExtensionKeyPath();

    if (Registry::getValue (extensionKey) == presetTypeName())
        allGone = Registry::deleteValue (extensionKey) && Registry::deleteKeyIfEmpty (extensionKey) && allGone;

    Registry::notifyAssociationsChanged();
    return allGone;
}
