#include "targets/DefaultFolders.h"
#include "platform/Registry.h"
#include "platform/SpecialFolders.h"
#include "product/Product.h"
#include "targets/FolderText.h"
#include "targets/PluginFormat.h"

juce::String DefaultFolders::standaloneFolder()
{
    return FolderText::forDisplay (SpecialFolders::programFiles().getFullPathName()
                                   + "/" + Product::maker + "/" + Product::name);
}

juce::String DefaultFolders::pluginFolder()
{
    auto candidate = Registry::getValue ("HKEY_CURRENT_USER\\Software\\VST\\VSTPluginsPath");

    if (candidate.isEmpty())
    {
        const auto host = Registry::getValue ("HKEY_CURRENT_USER\\Software\\Image-Line\\Shared\\Paths\\FL Studio");

        if (host.isNotEmpty())
        {
            const auto hostPlugins = juce::File (host).getParentDirectory().getChildFile ("Plugins").getChildFile ("VST");

            if (hostPlugins.exists())
                candidate = hostPlugins.getFullPathName();
        }
    }

    if (candidate.isNotEmpty() && ! candidate.endsWith ("/"))
        candidate += "/";

    if (candidate.isEmpty())
    {
        const auto programFiles = SpecialFolders::programFiles().getFullPathName();
        const auto steinberg = programFiles + "/Steinberg/VstPlugins";
        candidate = juce::File (steinberg).exists() ? steinberg : programFiles + "/VstPlugins";
    }

    return FolderText::forDisplay (candidate);
}

juce::String DefaultFolders::vst3Folder (int format)
{
    if (format != vst3_32 && format != vst3_64)
        return {};

    return juce::String ("C:\\Program Files") + (format == vst3_32 ? " (x86)" : "") + "\\Common Files\\VST3\\";
}
