#pragma once

#include <juce_core/juce_core.h>

// The folders the screen offers when nothing is remembered, worked out from the machine, and
// the fixed folder that a VST3 format brings with it. Texts are for display (forward slashes)
// except the VST3 folders, which keep their backslashes.
namespace DefaultFolders
{
    // The program files folder + "/Kestrune/Sorna".
    juce::String standaloneFolder();

    // The host's VST folder from the registry; else the FL Studio host's "Plugins/VST" folder
    // when it exists; else "Steinberg/VstPlugins" under program files when that exists; else
    // "VstPlugins" there.
    juce::String pluginFolder();

    // "C:\Program Files (x86)\Common Files\VST3\" for VST3 32-bit, "C:\Program Files\Common
    // Files\VST3\" for VST3 64-bit, whatever the machine; empty for every other format.
    juce::String vst3Folder (int format);
}
