#include <gtest/gtest.h>
#include "targets/PluginFormat.h"

TEST (PluginFormat, KeysCoverOneToFiveAndNothingElse)
{
    EXPECT_EQ (getFormatKey (1), "vst32");
    EXPECT_EQ (getFormatKey (2), "vst64");
    EXPECT_EQ (getFormatKey (3), "vst3_32");
    EXPECT_EQ (getFormatKey (4), "vst3_64");
    EXPECT_EQ (getFormatKey (5), "aax");

    for (auto outside : { -1, 0, 6, 100 })
        EXPECT_EQ (getFormatKey (outside), "") << outside;
}

TEST (PluginFormat, ParseRoundTripsEveryKeyWhateverTheBitness)
{
    for (int format = 1; format <= 5; ++format)
        for (auto bits : { "", "32", "64" })
            EXPECT_EQ (parseFormat (getFormatKey (format), bits), format) << format << " " << bits;
}

TEST (PluginFormat, ParseComparesKeysCaseSensitivelyAndNeverFallsBackForAnUnknownKey)
{
    EXPECT_EQ (parseFormat ("VST64", "64"), vst32);
    EXPECT_EQ (parseFormat ("Vst3_64", "64"), vst32);
    EXPECT_EQ (parseFormat ("vst64 ", "64"), vst32);
    EXPECT_EQ (parseFormat ("au", "64"), vst32);
    EXPECT_EQ (parseFormat ("vst3_64", "32"), vst3_64);
}

TEST (PluginFormat, EmptyKeyReadsTheBitnessRecord)
{
    EXPECT_EQ (parseFormat ("", "64"), vst64);
    EXPECT_EQ (parseFormat ("", "32"), vst32);
    EXPECT_EQ (parseFormat ("", ""), vst32);
    EXPECT_EQ (parseFormat ("", "64 "), vst32);
    EXPECT_EQ (parseFormat ("", "x"), vst32);
}

TEST (PluginFormat, PluginFileNamesAndTheFolderForValuesWithoutAFile)
{
    const juce::File folder ("/plugins/here");
    EXPECT_EQ (getPluginFile (folder, vst32), folder.getChildFile ("Sorna.dll"));
    EXPECT_EQ (getPluginFile (folder, vst64), folder.getChildFile ("Sorna64.dll"));
    EXPECT_EQ (getPluginFile (folder, vst3_32), folder.getChildFile ("Sorna.vst3"));
    EXPECT_EQ (getPluginFile (folder, vst3_64), folder.getChildFile ("Sorna64.vst3"));
    EXPECT_EQ (getPluginFile (folder, aax), folder.getChildFile ("Sorna.aaxplugin"));

    for (auto outside : { 0, 6, -3 })
        EXPECT_EQ (getPluginFile (folder, outside), folder) << outside;
}

TEST (PluginFormat, OnlyVstAndVst3ThirtyTwoBitCountAsThirtyTwoBit)
{
    EXPECT_TRUE (is32BitFormat (vst32));
    EXPECT_TRUE (is32BitFormat (vst3_32));

    for (auto other : { none, vst64, vst3_64, aax })
        EXPECT_FALSE (is32BitFormat (other)) << other;
}
