#include <gtest/gtest.h>

#include "install/InstallProperties.h"
#include "install/RememberedChoices.h"
#include "platform/Registry.h"
#include "tests/support/Sandbox.h"

// Reading the remembered rows and stand-alone folder back from the settings store.
namespace
{
    using juce::String;

    struct RememberedSettings : public ::testing::Test
    {
        Sandbox sandbox;
        InstallProperties properties { sandbox.appData() };

        void remember (std::initializer_list<std::pair<const char*, const char*>> attributes)
        {
            juce::XmlElement root ("SornaProperties");
            for (auto& [name, value] : attributes)
                root.setAttribute (name, value);

            const auto file = properties.getPropertiesFile();
            ASSERT_TRUE (file.getParentDirectory().createDirectory());
            ASSERT_TRUE (root.writeTo (file));
            properties.loadProperties();
        }
    };
}

TEST_F (RememberedSettings, NamesFollowTheRowNumbersAndLetters)
{
    using namespace RememberedChoices::Names;
    EXPECT_EQ (pluginFolder (0), "PluginInstallDir");
    EXPECT_EQ (pluginFolder (1), "PluginInstallDir2");
    EXPECT_EQ (pluginFolder (4), "PluginInstallDir5");
    EXPECT_EQ (format (0), "FormatA");
    EXPECT_EQ (format (2), "FormatC");
    EXPECT_EQ (pluginBits (1), "PluginBitsB");
}

TEST_F (RememberedSettings, RowsStopAtTheFirstGapAndAtFive)
{
    remember ({ { "PluginInstallDir", "a///b" }, { "FormatA", "vst3_64" },
                { "PluginInstallDir2", "Q" }, { "FormatB", "vst64" },
                { "PluginInstallDir4", "after the gap" } });

    const auto rows = RememberedChoices::readPluginRows (properties);
    ASSERT_EQ (rows.size(), 2);
    EXPECT_EQ (rows[0].folder, "a//b");
    EXPECT_EQ (rows[0].format, vst3_64);
    EXPECT_EQ (rows[1].folder, String());    // one character: the format only
    EXPECT_EQ (rows[1].format, vst64);

    remember ({ { "PluginInstallDir", "r1" }, { "PluginInstallDir2", "r2" }, { "PluginInstallDir3", "r3" },
                { "PluginInstallDir4", "r4" }, { "PluginInstallDir5", "r5" }, { "PluginInstallDir6", "r6" } });
    const auto five = RememberedChoices::readPluginRows (properties);
    ASSERT_EQ (five.size(), 5);
    EXPECT_EQ (five[4].folder, "r5");
    EXPECT_EQ (five[4].format, vst32);
}

TEST_F (RememberedSettings, StandaloneFolderNeedsMoreThanTwoCharacters)
{
    remember ({ { "InstallDir", "D:" } });
    EXPECT_EQ (RememberedChoices::readStandaloneFolder (properties), String());

    remember ({ { "InstallDir", "D:/" } });
    EXPECT_EQ (RememberedChoices::readStandaloneFolder (properties), "D:/");
}

TEST_F (RememberedSettings, WithoutASettingsFileTheBitsRecordOfTheRegistryDecides)
{
    const auto key = InstallProperties::productRegistryKey();
    ASSERT_TRUE (Registry::setValue (key + "PluginInstallDir", "E:\\Plugins\\"));
    ASSERT_TRUE (Registry::setValue (key + "PluginBitsA", "64"));
    properties.loadProperties();
    ASSERT_TRUE (properties.isUsingRegistryFallback());

    const auto rows = RememberedChoices::readPluginRows (properties);
    ASSERT_EQ (rows.size(), 1);
    EXPECT_EQ (rows[0].folder, "E:\\Plugins\\");
    EXPECT_EQ (rows[0].format, vst64);
}

TEST (RememberedStartingRows, OneRowFollowsTheRestoredOnesAndTheFirstRowWithoutAFolderTakesTheDefault)
{
    using RememberedChoices::PluginRow;
    using RememberedChoices::startingRows;

    const auto fresh = startingRows ({}, 3);
    EXPECT_EQ (fresh.rowCount, 3);
    EXPECT_TRUE (fresh.restored.isEmpty());
    EXPECT_TRUE (fresh.firstRowTakesDefault);

    // Fewer restored rows than the screen shows keep its rows; as many or more add one.
    const PluginRow folder { vst64, "D:\\A\\" }, formatOnly { vst3_64, {} };
    EXPECT_EQ (startingRows ({ folder, folder }, 3).rowCount, 3);
    EXPECT_EQ (startingRows ({ folder, folder, folder }, 3).rowCount, 4);
    const auto five = startingRows ({ folder, folder, folder, folder, folder }, 3);
    EXPECT_EQ (five.rowCount, 6);
    EXPECT_EQ (five.restored.size(), 5);

    // A restored folder is never replaced; a restored format alone leaves the folder to the default.
    EXPECT_FALSE (startingRows ({ folder, formatOnly }, 3).firstRowTakesDefault);
    const auto first = startingRows ({ formatOnly, folder }, 3);
    EXPECT_TRUE (first.firstRowTakesDefault);
    EXPECT_EQ (first.restored[0].format, vst3_64);
}
