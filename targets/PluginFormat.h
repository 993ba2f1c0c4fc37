#pragma once

#include <juce_core/juce_core.h>

// The kind of plug-in file that goes into one plug-in folder row. The values double as the
// item identifiers of each row's format box, so a box's selection is used without translation.
enum PluginFormat
{
    none = 0,
    vst32 = 1,
    vst64 = 2,
    vst3_32 = 3,
    vst3_64 = 4,
    aax = 5     // known to every mapping, but never offered in a format box
};

// The key under which a format is remembered ("vst32", ...); empty outside 1 to 5.
juce::String getFormatKey (int format);

// Reads a remembered key back; an empty key falls back to a bitness record ("32" or "64").
PluginFormat parseFormat (const juce::String& key, const juce::String& bitness);

// The plug-in file of a format inside a folder ("Sorna64.dll", ...); the folder itself for a
// value without a file.
juce::File getPluginFile (const juce::File& folder, int format);

// The text shown for a format in the format boxes (values 1 to 4).
juce::String getFormatLabel (int format);

// 32-bit formats are VST 32 and VST3 32; everything else, none and AAX included, counts as 64-bit.
bool is32BitFormat (int format);
