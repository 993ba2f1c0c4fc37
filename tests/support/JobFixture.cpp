#include "tests/support/JobFixture.h"
#include "platform/SpecialFolders.h"

#include <unistd.h>

void RecordingProgress::setStatusMessage (const juce::String& s)
{
    statuses.add (s);

    if (onStatus)
        onStatus (s);
}

void JobFixture::SetUp()
{
    sandbox.home().setAsCurrentWorkingDirectory();
    loadProperties();

    plugins32 = sandbox.folder ("VstPlugins");
    plugins3 = sandbox.folder ("VST3");
    standalone = sandbox.folder ("Programs/Kestrune/Sorna");

    options.pluginRows.add ({ plugins32.getFullPathName(), 1 });
    options.pluginRows.add ({ juce::String(), 2 });
    options.pluginRows.add ({ plugins3.getFullPathName() + juce::File::getSeparatorString(), 3 });
    options.standaloneFolder = standalone.getFullPathName();
}

void JobFixture::loadProperties()
{
    properties = std::make_unique<InstallProperties> (SpecialFolders::applicationData());
    properties->loadProperties();
}

bool JobFixture::runJob (const juce::MemoryBlock* payloadBytes)
{
    auto folders = InstallFolders::fromSystem();

    if (temporaryParent != juce::File())
        folders.temporary = temporaryParent;

    InstallJob job (options, *properties, errorText, progress, folders);

    if (payloadBytes != nullptr)
        job.setPayload (payloadBytes->getData(), payloadBytes->getSize());

    const auto ended = job.run();
    lastTemporaryFolder = job.getTemporaryFolder();
    EXPECT_EQ (payload.damagedAfterJob (options, juce::File (job.getContentFolder()), errorText).joinIntoString ("\n"),
               juce::String());
    return ended;
}

juce::File JobFixture::contentFolder() const   { return sandbox.documents().getChildFile ("Kestrune/Sorna"); }
juce::File JobFixture::savedProperties() const { return sandbox.appData().getChildFile ("Kestrune/Sorna/install.xml"); }

juce::String JobFixture::saved (const juce::String& name) const
{
    auto xml = juce::parseXML (savedProperties());
    return xml != nullptr ? xml->getStringAttribute (name, "<absent>") : juce::String ("<no file>");
}

FolderOnAnotherFileSystem::FolderOnAnotherFileSystem (const juce::File& folder)
{
    const juce::File shm ("/dev/shm");
    const auto freeBytes = shm.isDirectory() ? shm.getBytesFreeOnVolume() : 0;

    if (freeBytes < 64 * 1024 * 1024 || ! folder.deleteRecursively())
        return;

    place = shm.getNonexistentChildFile ("sorna-test-" + juce::String ((int) ::getpid()), {}, false);

    if (! place.createDirectory() || ! place.createSymbolicLink (folder, false))
        place = juce::File();
}

FolderOnAnotherFileSystem::~FolderOnAnotherFileSystem()
{
    if (place != juce::File())
        place.deleteRecursively();
}
