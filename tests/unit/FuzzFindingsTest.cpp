// Inputs that the fuzz targets (tests/fuzz) found to hang or crash, kept as regression cases.
#include <gtest/gtest.h>

#include "install/InstallProperties.h"
#include "platform/Registry.h"
#include "platform/SpecialFolders.h"
#include "tests/support/Sandbox.h"

#include <atomic>
#include <thread>

namespace
{
    using juce::MemoryBlock;
    using juce::String;

    // Runs f on a thread of its own and waits a few seconds at most, so that an endless loop
    // fails the test instead of hanging the suite.
    bool finishesInTime (std::function<void()> f)
    {
        auto done = std::make_shared<std::atomic<bool>> (false);
        std::thread ([f, done] { f(); *done = true; }).detach();

        for (int i = 0; i < 200 && ! *done; ++i)
            juce::Thread::sleep (25);

        return *done;
    }
}

TEST (FuzzFindings, AProcessingInstructionBeforeTextInAnElementFallsBackInsteadOfLoopingForEver)
{
    const String key (InstallProperties::productRegistryKey);
    const char* const documents[] = {
        "<O>\xff<?x?>np>",    // as the fuzzer found it
        "<SornaProperties InstallDir=\"C:\\x\\\">text<?pi?>more</SornaProperties>",
        "<?xml version=\"1.0\"?>\r\n<SornaProperties InstallDir=\"C:\\x\\\"><?pi?>more</SornaProperties>",
    };

    for (auto* document : documents)
    {
        SCOPED_TRACE (document);
        Sandbox sandbox;
        auto properties = std::make_shared<InstallProperties> (SpecialFolders::applicationData());
        properties->getPropertiesFile().create();
        ASSERT_TRUE (properties->getPropertiesFile().replaceWithText (document));
        ASSERT_TRUE (Registry::setValue (key + "InstallDir", "from registry"));

        ASSERT_TRUE (finishesInTime ([properties] { properties->loadProperties(); }));
        EXPECT_TRUE (properties->isUsingRegistryFallback());
        EXPECT_EQ (properties->getSetting ("InstallDir", {}, key), "from registry");
    }

    // The declaration alone is still fine.
    Sandbox sandbox;
    InstallProperties properties (SpecialFolders::applicationData());
    properties.getPropertiesFile().create();
    ASSERT_TRUE (properties.getPropertiesFile().replaceWithText ("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n\r\n<SornaProperties InstallDir=\"C:\\x\\\"/>\r\n"));
    properties.loadProperties();
    EXPECT_FALSE (properties.isUsingRegistryFallback());
    EXPECT_EQ (properties.getSetting ("InstallDir", {}, key), "C:\\x\\");
}
