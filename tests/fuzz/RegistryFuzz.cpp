// The registry stand-in's file as any bytes: reads must never crash or hang, and a write must
// leave a file from which the value written reads back.
#include "platform/Registry.h"
#include "tests/fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput (const uint8_t* data, size_t size)
{
    fuzzScratchHome();
    writeFuzzFile (Registry::standInFile(), data, size);

    for (auto* path : { "HKEY_CURRENT_USER\\Software\\Kestrune\\Sorna\\InstallDir",
                        "HKCU\\Software\\VST\\VSTPluginsPath",
                        "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Sorna1.8\\DisplayName",
                        "HKEY_CURRENT_USER\\Software\\Classes\\.srn\\" })
        Registry::getValue (path, "default");

    if (size % 8 == 0)
    {
        const juce::String path ("HKEY_CURRENT_USER\\Software\\Kestrune\\Sorna\\FuzzValue");

        if (Registry::setValue (path, "written") && Registry::getValue (path) != "written")
            __builtin_trap();   // a write that succeeded must read back
    }

    return 0;
}
