#include "install/InstallProperties.h"
#include "platform/Registry.h"
#include "platform/SpecialFolders.h"
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

    using CharPointer = String::CharPointerType;

    // What can be told of a text's elements without parsing it: how deeply they nest and where
    // the first one, the root, ends. Comments, CDATA sections, declarations and quoted
    // attribute values are skipped.
    struct Outline
    {
        int deepest = 0;
        CharPointer rootEnd { nullptr };   // just past the root's last '>'; null if it does not end
    };

    // Where the markup that starts at p ("<!--", "<![CDATA[", "<!" or "<?") ends, or an empty
    // pointer when it does not.
    CharPointer endOfMarkup (CharPointer p)
    {
        auto skipPast = [p] (const char* opening, const char* closing) -> CharPointer
        {
            const auto end = CharacterFunctions::find (p + (int) strlen (opening), CharPointer_ASCII (closing));
            return end.isEmpty() ? end : end + (int) strlen (closing);
        };

        if (p.compareUpTo (CharPointer_ASCII ("<!--"), 4) == 0)
            return skipPast ("<!--", "-->");

        if (p.compareUpTo (CharPointer_ASCII ("<![CDATA["), 9) == 0)
            return skipPast ("<![CDATA[", "]]>");

        return skipPast ("<", ">");
    }

    Outline outline (const String& text)
    {
        Outline result;
        int depth = 0;
        bool rootStarted = false;

        for (auto p = text.getCharPointer(); ! p.isEmpty();)
        {
            if (*p != '<')
            {
                ++p;
                continue;
            }

            if (p[1] == '!' || p[1] == '?')
            {
                p = endOfMarkup (p);

                if (p.isEmpty())
                    break;

                continue;
            }

            ++p;
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

            if (p.isEmpty())
                break;

            ++p;
            bool elementEnds = false;

            if (closing)
            {
                elementEnds = --depth == 0;
            }
            else
            {
                rootStarted = true;

                if (previous != '/')
                    result.deepest = jmax (result.deepest, ++depth);
                else
                    elementEnds = depth == 0;
            }

            if (elementEnds && rootStarted && result.rootEnd.getAddress() == nullptr)
                result.rootEnd = p;
        }

        return result;
    }

    // Only white space and complete comments: what may follow a document's root element (the
    // zero byte the installer writes after it has already ended the text).
    bool onlyCommentsFrom (CharPointer p)
    {
        for (;;)
        {
            while (CharacterFunctions::isWhitespace (*p))
                ++p;

            if (p.isEmpty())
                return true;

            if (p.compareUpTo (CharPointer_ASCII ("<!--"), 4) != 0)
                return false;

            p = endOfMarkup (p);

            if (p.isEmpty())
                return false;
        }
    }

    // JUCE's parser accepts a document that ends inside its root element, so a file cut short
    // would pass for one without the settings that were cut off. Nor does it look at what
    // follows the root.
    bool rootElementIsClosed (const String& text, const Outline& shape, const XmlElement& root)
    {
        if (shape.rootEnd.getAddress() == nullptr || ! onlyCommentsFrom (shape.rootEnd))
            return false;

        const auto end = String (text.getCharPointer(), shape.rootEnd);

        if (end.endsWith ("/>") && root.getNumChildElements() == 0)
            return true;

        return end.dropLastCharacters (1).trimEnd().endsWith ("</" + root.getTagName());
    }

    // The document's root element, or nothing for a text that is not a usable document. A
    // document type declaration is refused: the parser expands its entities recursively, and a
    // properties file never has one.
    std::unique_ptr<XmlElement> parseDocument (const String& text)
    {
        const auto shape = outline (text);

        if (text.containsIgnoreCase ("<!DOCTYPE") || shape.deepest > deepestNesting)
            return {};

        // Nor does it hold processing instructions besides the leading declaration; JUCE's
        // parser loops for ever on one that is followed by text inside an element.
        const auto body = text.trimStart();
        const auto afterDeclaration = body.startsWith ("<?") ? body.fromFirstOccurrenceOf ("?>", false, false) : body;

        if (afterDeclaration.contains ("<?"))
            return {};

        auto root = XmlDocument (text).getDocumentElement();

        if (root != nullptr && ! rootElementIsClosed (text, shape, *root))
            return {};

        return root;
    }
}

String InstallProperties::productRegistryKey()
{
    return "HKEY_CURRENT_USER\\Software\\" + String (Product::maker) + "\\" + Product::name + "\\";
}

InstallProperties::InstallProperties() : InstallProperties (SpecialFolders::applicationData()) {}

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
