#include "install/InstallProperties.h"
#include "platform/Registry.h"
#include "platform/WholeFile.h"
#include "product/Product.h"

using namespace juce;

namespace
{
    // A properties file never comes near this; a larger one is not read at all, so that a
    // runaway file cannot exhaust the memory of a 32-bit process.
    constexpr int64 largestFile = 32 * 1024 * 1024;

    // Deeper nesting than this is refused before parsing: JUCE's parser recurses once per level.
    constexpr int deepestNesting = 200;

    // The file's text up to its first zero byte; UTF-8 unless a byte order mark says otherwise.
    bool readText (const File& file, String& text)
    {
        MemoryBlock data;

        if (! WholeFile::readSmall (file, largestFile, data))
            return false;

        text = String::fromUTF8 (String::createStringFromData (data.getData(), (int) data.getSize()).toRawUTF8());
        return true;
    }

    // How deeply the elements of a text nest, as far as it can be told without parsing it
    // (comments, declarations and quoted attribute values are skipped).
    int nestingDepth (const String& text)
    {
        int depth = 0, deepest = 0;

        for (auto p = text.getCharPointer(); ! p.isEmpty();)
        {
            if (p.getAndAdvance() != '<')
                continue;

            if (*p == '!' || *p == '?')
            {
                const auto end = CharacterFunctions::find (p, CharPointer_ASCII (p.compareUpTo (CharPointer_ASCII ("!--"), 3) == 0 ? "-->" : ">"));

                if (end.isEmpty())
                    break;

                p = end;
                continue;
            }

            const bool closing = *p == '/';
            juce_wchar quote = 0, previous = 0;

            for (; ! p.isEmpty(); previous = p.getAndAdvance())
            {
                if (quote != 0)
                {
                    if (*p == quote)
                        quote = 0;
                }
                else if (*p == '"' || *p == '\'')
                {
                    quote = *p;
                }
                else if (*p == '>')
                {
                    break;
                }
            }

            if (closing)
                --depth;
            else if (previous != '/')
                deepest = jmax (deepest, ++depth);
        }

        return deepest;
    }

    // JUCE's parser accepts a document that ends inside its root element, so a file cut short
    // would pass for one without the settings that were cut off.
    bool rootElementIsClosed (const String& text, const XmlElement& root)
    {
        const auto end = text.trimEnd();

        if (end.endsWith ("/>") && root.getNumChildElements() == 0)
            return true;

        return end.endsWithChar ('>')
            && end.dropLastCharacters (1).trimEnd().endsWith ("</" + root.getTagName());
    }

    // The document's root element, or nothing for a text that is not a usable document. A
    // document type declaration is refused: the parser expands its entities recursively, and a
    // properties file never has one.
    std::unique_ptr<XmlElement> parseDocument (const String& text)
    {
        if (text.containsIgnoreCase ("<!DOCTYPE") || nestingDepth (text) > deepestNesting)
            return {};

        // Nor does it hold processing instructions besides the leading declaration; JUCE's
        // parser loops for ever on one that is followed by text inside an element.
        const auto body = text.trimStart();
        const auto afterDeclaration = body.startsWith ("<?") ? body.fromFirstOccurrenceOf ("?>", false, false) : body;

        if (afterDeclaration.contains ("<?"))
            return {};

        auto root = XmlDocument (text).getDocumentElement();

        if (root != nullptr && ! rootElementIsClosed (text, *root))
            return {};

        return root;
    }
}

String InstallProperties::productRegistryKey()
{
    return "HKEY_CURRENT_USER\\Software\\" + String (Product::maker) + "\\" + Product::name + "\\";
}

InstallProperties::InstallProperties (const File& applicationDataFolder)
    : propertiesFile (applicationDataFolder.getChildFile (Product::maker).getChildFile (Product::name).getChildFile ("install.xml"))
{
}

InstallProperties::~InstallProperties() = default;

void InstallProperties::loadProperties()
{
    String text;
    registryFallback = false;

    if (readText (propertiesFile, text))
        root = parseDocument (text);
    else
        root.reset();

    if (root == nullptr)
    {
        root = std::make_unique<XmlElement> (juce::String (Product::name) + "Properties");
        registryFallback = true;
    }
}

String InstallProperties::getSetting (const String& name, const String& defaultValue,
                                      const String& registryKeyPath) const
{
    if (registryFallback)
        return Registry::getValue (registryKeyPath + name, defaultValue);

    if (root != nullptr)
        return root->getStringAttribute (name, defaultValue);

    return defaultValue;
}

void InstallProperties::setSetting (const String& name, const String& value)
{
    if (root != nullptr)
        root->setAttribute (name, value);
}

void InstallProperties::saveProperties (String& errorText)
{
    // The one line a failed save reports starts a line of its own, and is the report's last.
    auto reportFailure = [&errorText] (const String& line)
    {
        if (errorText.isNotEmpty() && ! errorText.endsWithChar ('\n'))
            errorText << "\n";

        errorText << line;
    };

    if (! propertiesFile.existsAsFile())
    {
        const auto created = propertiesFile.create();

        // Nothing can be written where the file cannot even be created.
        if (created.failed())
        {
            reportFailure ("Failed to create a required properties file: " + created.getErrorMessage());
            return;
        }
    }

    // The new document replaces the old file only once it is complete: a save that fails
    // half-way leaves the previous choices intact.
    bool written = false;

    if (root != nullptr)
    {
        // Declaration, two line breaks, the element, one line break (all CR LF), then a
        // closing zero byte, as earlier installers wrote the file.
        MemoryOutputStream document;
        root->writeTo (document, XmlElement::TextFormat());
        document.writeByte (0);
        written = WholeFile::replaceWith (propertiesFile, document.getMemoryBlock());
    }

    if (! written)
        reportFailure ("Failed to write a required properties file: " + propertiesFile.getFullPathName());
}
