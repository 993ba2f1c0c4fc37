#include "uninstall/InstalledProduct.h"
#include "install/InstallProperties.h"
#include "install/RegistryRecords.h"
#include "install/RememberedChoices.h"
#include "platform/Registry.h"
#include "platform/SpecialFolders.h"
#include "product/Product.h"
#include "targets/PluginFormat.h"

namespace
{
    // A stored folder text as a folder, or nothing when it is not a full path: a relative one
    // would be taken from wherever the uninstaller happens to run.
    juce::File folderFrom (const juce::String& text)
    {
        const auto path = text.trim();

        if (path.length() < 2 || path.startsWithChar ('~') || ! juce::File::isAbsolutePath (path))
            return {};

        return juce::File (path);
    }

    // The installer writes no other content folder than "Kestrune/Sorna" in the documents.
    bool isContentFolder (const juce::File& folder)
    {
        return folder.getFileName() == Product::name && folder.getParentDirectory().getFileName() == Product::maker;
    }

    // As many rows as any installer could have written; the job numbers them without gaps
    // only when every row was used, so all of them are looked at.
    constexpr int mostPluginRows = 64;
}

InstalledProduct InstalledProduct::find (const InstallProperties& properties,
                                         const juce::Array<ContentFile>& contentFiles,
                                         const juce::File& runningUninstaller)
{
    namespace Names = RememberedChoices::Names;
    const auto key = InstallProperties::productRegistryKey();
    auto setting = [&] (const juce::String& name, const juce::String& defaultValue = {})
    {
        return properties.getSetting (name, defaultValue, key);
    };

    InstalledProduct product;
    product.contentFiles = contentFiles;
    product.desktop = SpecialFolders::desktop();
    product.propertiesFile = properties.getPropertiesFile();

    product.standaloneFolder = folderFrom (setting (Names::standaloneFolder));

    if (product.standaloneFolder == juce::File())
        product.standaloneFolder = folderFrom (Registry::getValue (RegistryRecords::uninstallKeyPath() + "InstallLocation"));

    // A copy of the uninstaller that lies anywhere else (a build folder, a download) must not
    // take its folder for the installation's: the installed program has to be there too.
    const auto ownFolder = runningUninstaller.getParentDirectory();

    if (product.standaloneFolder == juce::File() && runningUninstaller.getFileName() == Product::uninstallerName
         && ownFolder.getChildFile (Product::executableName).existsAsFile())
        product.standaloneFolder = ownFolder;

    if (product.standaloneFolder == juce::File())
        product.unknown.add ("The programs folder is not known: no remembered choices and no uninstall entry name it.");

    product.contentFolder = folderFrom (setting (Names::contentFolder));

    if (! isContentFolder (product.contentFolder))
        product.contentFolder = SpecialFolders::documents().getChildFile (Product::maker).getChildFile (Product::name);

    for (int i = 0; i < mostPluginRows; ++i)
    {
        const auto folderText = setting (Names::pluginFolder (i));
        const auto folder = folderFrom (folderText);

        // The job skips rows shorter than this and remembers nothing for them.
        if (folderText.length() < 3 || folder == juce::File())
            continue;

        product.pluginRows.add ({ folder, parseFormat (setting (Names::format (i)), setting (Names::pluginBits (i), "32")) });
    }

    if (product.pluginRows.isEmpty() && properties.isUsingRegistryFallback())
        product.unknown.add ("The plug-in folders are not known: no remembered choices were found.");

    return product;
}

juce::File InstalledProduct::executable() const
{
    return standaloneFolder == juce::File() ? juce::File() : standaloneFolder.getChildFile (Product::executableName);
}
