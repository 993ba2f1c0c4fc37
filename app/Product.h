#pragma once

#include <juce_core/juce_core.h>

// Facts about the product that several parts of the installer print, store or compose.
namespace Product
{
    constexpr const char* name = "Sorna";
    constexpr const char* maker = "Kestrune";
    constexpr double version = 1.8;
    constexpr int build = 2616;

    // "1.8": the version always appears with one decimal place.
    inline juce::String versionString() { return juce::String (version, 1); }

    inline juce::String administratorHint()
    {
        return "\nIf not already, try running this installer with administrator privileges:\n"
               "(right click the installer, select 'Run as administrator...').\n";
    }
}
