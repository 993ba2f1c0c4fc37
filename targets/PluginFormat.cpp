#include "targets/PluginFormat.h"
#include "product/Product.h"

namespace
{
    struct FormatRecord
    {
        PluginFormat format;
        const char* key;
        const char* fileName;
        const char* label;
    };

    constexpr FormatRecord formats[] = {
        { vst32,   "vst32",   Product::vst32FileName,   "VST (32 bit)" },
        { vst64,   "vst64",   Product::vst64FileName,   "VST (64 bit)" },
        { vst3_32, "vst3_32", Product::vst3_32FileName, "VST3 (32 bit)" },
        { vst3_64, "vst3_64", Product::vst3_64FileName, "VST3 (64 bit)" },
        { aax,     "aax",     Product::aaxFileName,     "" },
    };

    const FormatRecord* find (int format)
    {
        for (auto& record : formats)
            if (record.format == format)
                return &record;

        return nullptr;
    }
}

juce::String getFormatKey (int format)
{
    auto* record = find (format);
    return record != nullptr ? juce::String (record->key) : juce::String();
}

PluginFormat parseFormat (const juce::String& key, const juce::String& bitness)
{
    if (key.isNotEmpty())
    {
        for (auto& record : formats)
            if (key == record.key)
                return record.format;

        return vst32;
    }

    return bitness == "64" ? vst64 : vst32;
}

juce::File getPluginFile (const juce::File& folder, int format)
{
    auto* record = find (format);
    return folder.getChildFile (record != nullptr ? juce::String (record->fileName) : juce::String());
}

juce::String getFormatLabel (int format)
{
    auto* record = find (format);
    return record != nullptr ? juce::String (record->label) : juce::String();
}

bool is32BitFormat (int format)
{
    return format == vst32 || format == vst3_32;
}
