// install.xml as any bytes at all: loading must never crash, hang or read out of bounds, and a
// store that loaded must still take and save settings.
#include "install/InstallProperties.h"
#include "platform/SpecialFolders.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    fuzzScratchHome();
    InstallProperties properties (SpecialFolders::applicationData());
    writeFuzzFile (properties.getPropertiesFile(), data, size);
    properties.loadProperties();

    for (auto* name : { "InstallDir", "PluginInstallDir", "PluginInstallDir2", "FormatA", "PluginBitsA", "InstalledVersion" })
        properties.getSetting (name, "default", InstallProperties::productRegistryKey());

    // Saving is the costly part; one input in sixteen is enough to keep it covered.
    if (size % 16 == 0)
    {
        properties.setSetting ("InstalledVersion", "1.8");
        juce::String errorText;
        properties.saveProperties (errorText);

        InstallProperties reloaded (SpecialFolders::applicationData());
        reloaded.loadProperties();

        if (errorText.isEmpty() && reloaded.getSetting ("InstalledVersion", {}, {}) != "1.8")
            __builtin_trap();   // a save that reported nothing must read back
    }

    return 0;
}
