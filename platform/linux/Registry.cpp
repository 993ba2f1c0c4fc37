#include "platform/Registry.h"
#include "platform/SpecialFolders.h"
#include "platform/WholeFile.h"
#include "platform/linux/RegistryDocument.h"
#include "platform/linux/RegistryText.h"
#include "product/Product.h"

// The stand-in keeps the records in a registry export file, so that Windows' or Wine's
// "regedit /S" can import what it holds. Every call reads the whole file and every write
// replaces it whole.
using namespace juce;

namespace
{
    // Far beyond anything the installer writes; a larger file is not read at all, so a runaway
    // file cannot exhaust memory.
    constexpr int64 largestFile = 32 * 1024 * 1024;

    CriticalSection& fileLock()
    {
        static CriticalSection lock;
        return lock;
    }

    // An unreadable or unrecognisable file reads as an empty registry.
    RegistryDocument load (const File& file)
    {
        MemoryBlock data;
        String text;

        if (! WholeFile::readSmall (file, largestFile, data) || ! RegistryText::decode (data, text))
            return {};

        return RegistryDocument::parse (text);
    }

    // Applies a change to the records and writes the file whole when it changed anything: a
    // file that holds nothing to change is not rewritten, and a missing one is not created.
    bool change (const std::function<bool (RegistryDocument&)>& apply)
    {
        const ScopedLock sl (fileLock());
        const auto file = Registry::standInFile();
        auto doc = load (file);

        return ! apply (doc)
            || (file.getParentDirectory().createDirectory().wasOk()
                && WholeFile::replaceWith (file, RegistryText::encode (doc.getLines())));
    }
}

File Registry::standInFile()
{
    return SpecialFolders::applicationData().getChildFile (Product::maker).getChildFile ("registry.reg");
}

String Registry::getValue (const String& valuePath, const String& defaultValue)
{
    const auto path = RegistryDocument::splitValuePath (valuePath);

    if (! path.valid)
        return defaultValue;

    const ScopedLock sl (fileLock());
    String result;

    if (load (standInFile()).getValue (path, result))
        return result;

    return defaultValue;
}

bool Registry::setValue (const String& valuePath, const String& value)
{
    const auto path = RegistryDocument::splitValuePath (valuePath);

    if (! path.valid)
        return false;

    return change ([&] (RegistryDocument& doc) { doc.setValue (path, value); return true; });
}

void Registry::notifyAssociationsChanged()
{
}

bool Registry::deleteKey (const String& keyPath)
{
    const auto path = RegistryDocument::splitValuePath (keyPath.trimCharactersAtEnd ("\\") + "\\");

    // A hive alone is not a key that can be deleted.
    if (! path.valid || ! path.key.containsChar ('\\'))
        return false;

    return change ([&] (RegistryDocument& doc) { return doc.removeKey (path.key); });
}

bool Registry::deleteKeyIfEmpty (const String& keyPath)
{
    const auto path = RegistryDocument::splitValuePath (keyPath.trimCharactersAtEnd ("\\") + "\\");

    if (! path.valid || ! path.key.containsChar ('\\'))
        return false;

    return change ([&] (RegistryDocument& doc) { return ! doc.holdsAnything (path.key) && doc.removeKey (path.key); });
}

bool Registry::deleteValue (const String& valuePath)
{
    const auto path = RegistryDocument::splitValuePath (valuePath);

    if (! path.valid)
        return false;

    return change ([&] (RegistryDocument& doc) { return doc.removeValue (path); });
}
