// Inputs that the fuzz targets (tests/fuzz) found to hang or crash, kept as regression cases.
#include <gtest/gtest.h>

#include "install/InstallProperties.h"
#include "install/PayloadArchive.h"
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
    const String key (InstallProperties::productRegistryKey());
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

TEST (FuzzFindings, AnEntryNameThatIsNotUTF8MakesTheArchiveUnreadableInsteadOfCrashing)
{
    Sandbox sandbox;
    const auto target = sandbox.folder ("target");

    juce::ZipFile::Builder builder;
    builder.addEntry (new juce::MemoryInputStream ("preset", 6, true), 0, "data/presets/Pa#@ 1.srn", juce::Time (2020, 0, 1, 0, 0, 0, 0, true));
    juce::MemoryOutputStream out;
    builder.writeToStream (out, nullptr);
    auto zip = out.getMemoryBlock();

    // The same two bytes in the local and the central header become a broken UTF-8 sequence.
    auto* bytes = static_cast<char*> (zip.getData());
    int patched = 0;

    for (size_t i = 0; i + 1 < zip.getSize(); ++i)
    {
        if (bytes[i] == '#' && bytes[i + 1] == '@')
        {
            bytes[i] = (char) 0xff;
            bytes[i + 1] = (char) 0xc3;
            ++patched;
        }
    }

    ASSERT_EQ (patched, 2);
    EXPECT_EQ (PayloadArchive (zip.getData(), zip.getSize()).unpackTo (target).getErrorMessage(),
               "Failed to open the zip file for reading");
    EXPECT_EQ (target.getNumberOfChildFiles (juce::File::findFilesAndDirectories), 0);
}
