#include <gtest/gtest.h>
#include "install/InstallProperties.h"
#include "platform/Registry.h"
#include "platform/SpecialFolders.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/Sandbox.h"


using juce::File;
using juce::MemoryBlock;
using juce::String;

namespace
{
    const String key (InstallProperties::productRegistryKey());
    const String writeFailure ("Failed to write a required properties file: ");

    MemoryBlock bytesOf (const char* text)
    {
        return MemoryBlock (text, strlen (text));
    }

    MemoryBlock fileBytes (const File& file)
    {
        MemoryBlock data;
        file.loadFileAsData (data);
        return data;
    }

    void writeFile (const File& file, const MemoryBlock& data)
    {
        file.getParentDirectory().createDirectory();
        ASSERT_TRUE (file.replaceWithData (data.getData(), data.getSize()));
    }

    struct Store
    {
        Sandbox sandbox;
        InstallProperties properties { SpecialFolders::applicationData() };
        File file = properties.getPropertiesFile();

        void loadFrom (const MemoryBlock& content)
        {
            writeFile (file, content);
            properties.loadProperties();
        }

        // Saves the settings, which must succeed without a word, and reads them back into a
        // second store, as the next installation would.
        std::unique_ptr<InstallProperties> savedAndReloaded()
        {
            String errorText;
            properties.saveProperties (errorText);
            EXPECT_EQ (errorText, "");

            auto reloaded = std::make_unique<InstallProperties> (SpecialFolders::applicationData());
            reloaded->loadProperties();
            return reloaded;
        }
    };

}

TEST (InstallProperties, LivesUnderTheMakersFolderInApplicationData)
{
    const InstallProperties properties (File ("/some/appdata"));
    EXPECT_EQ (properties.getPropertiesFile().getFullPathName(), "/some/appdata/Kestrune/Sorna/install.xml");
    EXPECT_EQ (InstallProperties::productRegistryKey(), "HKEY_CURRENT_USER\\Software\\Kestrune\\Sorna\\");
}

TEST (InstallProperties, SavedFileIsByteExact)
{
    Store store;
    store.properties.loadProperties();
    ASSERT_FALSE (store.file.getParentDirectory().exists());
    store.properties.setSetting ("InstalledVersion", "1.8");
    store.properties.setSetting ("InstallDir", "C:\\Sorna\\");
    store.properties.setSetting ("FormatA", "vst64");
    store.properties.setSetting ("PluginInstallDir", String (juce::CharPointer_UTF8 ("D:\\Zo\xc3\xab & \"VST\"\\")));

    String errorText;
    store.properties.saveProperties (errorText);
    EXPECT_EQ (errorText, "");

    // Attributes wrap once a line has passed 60 columns, under the first attribute.
    const char expected[] =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
        "\r\n"
        "<SornaProperties InstalledVersion=\"1.8\" InstallDir=\"C:\\Sorna\\\" FormatA=\"vst64\"\r\n"
        "                 PluginInstallDir=\"D:\\Zo&#235; &amp; &quot;VST&quot;\\\"/>\r\n";

    EXPECT_EQ (fileBytes (store.file), MemoryBlock (expected, sizeof (expected)))
        << fileBytes (store.file).toString();
    EXPECT_EQ (store.file.getParentDirectory().getNumberOfChildFiles (File::findFilesAndDirectories), 1);
}

TEST (InstallProperties, ForeignRootTagAndUnknownAttributesAreSavedBack)
{
    Store store;
    store.loadFrom (bytesOf ("<?xml version=\"1.0\"?>\n<OlderProperties Colour=\"teal\" InstallDir=\"C:\\Old\\\">"
                             "<Note Text=\"kept\"/></OlderProperties>"));

    EXPECT_FALSE (store.properties.isUsingRegistryFallback());
    EXPECT_EQ (store.properties.getSetting ("InstallDir", "default", key), "C:\\Old\\");
    EXPECT_EQ (store.properties.getSetting ("FormatA", "default", key), "default");

    store.properties.setSetting ("InstallDir", "C:\\New\\");
    const auto reloaded = store.savedAndReloaded();
    ASSERT_NE (reloaded->getRootElement(), nullptr);
    EXPECT_EQ (reloaded->getRootElement()->getTagName(), "OlderProperties");
    EXPECT_EQ (reloaded->getSetting ("Colour", {}, key), "teal");
    EXPECT_EQ (reloaded->getSetting ("InstallDir", {}, key), "C:\\New\\");
    ASSERT_NE (reloaded->getRootElement()->getChildByName ("Note"), nullptr);
    EXPECT_EQ (reloaded->getRootElement()->getChildByName ("Note")->getStringAttribute ("Text"), "kept");
}

TEST (InstallProperties, WithoutAFileReadsComeFromTheRegistryAndNothingIsWritten)
{
    Store store;
    ASSERT_TRUE (Registry::setValue (key + "PluginBitsA", "64"));
    ASSERT_TRUE (Registry::setValue (key + "PluginInstallDir", "D:\\VST\\"));
    const auto registryBefore = fileBytes (Registry::standInFile());

    store.properties.loadProperties();

    EXPECT_TRUE (store.properties.isUsingRegistryFallback());
    EXPECT_EQ (store.properties.getRootElement()->getTagName(), "SornaProperties");
    EXPECT_EQ (store.properties.getSetting ("PluginBitsA", "32", key), "64");
    EXPECT_EQ (store.properties.getSetting ("PluginInstallDir", {}, key), "D:\\VST\\");
    EXPECT_EQ (store.properties.getSetting ("FormatA", "none", key), "none");

    // The job's settings go into the element only; reads stay with the registry for the run.
    store.properties.setSetting ("FormatA", "vst3_64");
    EXPECT_EQ (store.properties.getSetting ("FormatA", "none", key), "none");
    EXPECT_EQ (store.properties.getRootElement()->getStringAttribute ("FormatA"), "vst3_64");

    EXPECT_FALSE (store.file.exists());
    EXPECT_EQ (fileBytes (Registry::standInFile()), registryBefore);
}

TEST (InstallProperties, UnusableFilesFallBackAreLeftAloneAndAreReplacedByASave)
{
    const char* const texts[] = {
        "",
        "   \r\n",
        "<SornaProperties InstallDir=\"C:\\x\\\"",
        "InstallDir=C:\\x\\",
        "<?xml version=\"1.0\"?>",
        "<a><b></a>",
    };

    juce::Array<MemoryBlock> contents;

    for (auto* text : texts)
        contents.add (bytesOf (text));

    contents.add (MemoryBlock ("\0<SornaProperties/>", 19));

    // Binary noise, and UTF-16 without a byte order mark (which stops at its first zero byte).
    juce::Random random (7);
    MemoryBlock noise (4096);
    random.fillBitsRandomly (noise.getData(), noise.getSize());
    contents.add (noise);

    const auto utf16 = String ("<SornaProperties InstallDir=\"C:\\x\\\"/>");
    juce::MemoryOutputStream noMark;
    noMark.writeText (utf16, true, false, nullptr);
    contents.add (noMark.getMemoryBlock());

    for (auto& content : contents)
    {
        Store store;
        ASSERT_TRUE (Registry::setValue (key + "InstallDir", "from registry"));
        store.loadFrom (content);

        EXPECT_TRUE (store.properties.isUsingRegistryFallback()) << content.toString();
        EXPECT_EQ (store.properties.getSetting ("InstallDir", {}, key), "from registry");
        EXPECT_EQ (fileBytes (store.file), content);

        store.properties.setSetting ("InstallDir", "C:\\Fresh\\");
        const auto reloaded = store.savedAndReloaded();
        EXPECT_FALSE (reloaded->isUsingRegistryFallback());
        EXPECT_EQ (reloaded->getRootElement()->getTagName(), "SornaProperties");
        EXPECT_EQ (reloaded->getSetting ("InstallDir", {}, key), "C:\\Fresh\\");
    }
}

TEST (InstallProperties, UTF16WithAByteOrderMarkAndAUTF8MarkAreRead)
{
    for (auto asUTF16 : { true, false })
    {
        Store store;
        juce::MemoryOutputStream out;
        out.writeText (String (juce::CharPointer_UTF8 ("<SornaProperties InstallDir=\"C:\\Zo\xc3\xab\\\"/>")), asUTF16, true, nullptr);

        if (! asUTF16)
        {
            MemoryBlock marked ("\xef\xbb\xbf", 3);
            marked.append (out.getData(), out.getDataSize());
            store.loadFrom (marked);
        }
        else
        {
            store.loadFrom (out.getMemoryBlock());
        }

        EXPECT_FALSE (store.properties.isUsingRegistryFallback()) << asUTF16;
        EXPECT_EQ (store.properties.getSetting ("InstallDir", {}, key), String (juce::CharPointer_UTF8 ("C:\\Zo\xc3\xab\\")));
    }
}

TEST (InstallProperties, EveryTruncationOfASavedFileIsSafe)
{
    Store store;
    store.properties.loadProperties();
    store.properties.setSetting ("InstalledVersion", "1.8");
    store.properties.setSetting ("ContentDir", "C:\\Users\\Zoe\\Documents\\Kestrune\\Sorna\\");
    store.properties.setSetting ("PluginInstallDir", "C:\\Program Files (x86)\\VstPlugins\\");
    String errorText;
    store.properties.saveProperties (errorText);
    const auto whole = fileBytes (store.file);
    const auto end = whole.toString().indexOf ("/>") + 2;
    ASSERT_GT (end, 2);

    ASSERT_TRUE (Registry::setValue (key + "InstalledVersion", "registry"));

    for (size_t length = 0; length < whole.getSize(); ++length)
    {
        store.loadFrom (MemoryBlock (whole.getData(), length));
        const auto expected = (int) length < end ? "registry" : "1.8";
        EXPECT_EQ (store.properties.getSetting ("InstalledVersion", {}, key), expected) << length;
    }
}

TEST (InstallProperties, HostileAndOversizedFilesDoNotCrash)
{
    Store store;
    ASSERT_TRUE (Registry::setValue (key + "InstallDir", "from registry"));

    auto fallsBack = [&store] (const MemoryBlock& content)
    {
        store.loadFrom (content);
        return store.properties.isUsingRegistryFallback()
            && store.properties.getSetting ("InstallDir", {}, key) == "from registry";
    };

    // Entities that expand themselves without end.
    EXPECT_TRUE (fallsBack (bytesOf ("<!DOCTYPE p [<!ENTITY a \"x&a;\">]><p InstallDir=\"&a;\"/>")));

    // Nesting far deeper than any stack allows for a recursive parser.
    {
        juce::MemoryOutputStream deep;

        for (int i = 0; i < 500000; ++i)
            deep << "<a x='/>'>";

        EXPECT_TRUE (fallsBack (deep.getMemoryBlock()));
    }

    // Larger than any properties file can be: not read at all.
    {
        MemoryBlock huge (40 * 1024 * 1024, false);
        huge.fillWith ((juce::uint8) ' ');
        const char* const element = "<SornaProperties InstallDir=\"C:\\x\\\"/>";
        huge.copyFrom (element, 0, strlen (element));
        EXPECT_TRUE (fallsBack (huge));
    }

    // Big but within bounds: read like any other file.
    {
        juce::MemoryOutputStream big;
        big << "<SornaProperties Pad=\"" << String::repeatedString ("x", 10 * 1024 * 1024) << "\" InstallDir=\"C:\\big\\\"/>";
        store.loadFrom (big.getMemoryBlock());
        EXPECT_FALSE (store.properties.isUsingRegistryFallback());
        EXPECT_EQ (store.properties.getSetting ("InstallDir", {}, key), "C:\\big\\");
    }
}

TEST (InstallProperties, ThousandsOfAttributesAreReadAndSavedBack)
{
    Store store;
    juce::MemoryOutputStream many;
    many << "<SornaProperties";

    for (int i = 0; i < 5000; ++i)
        many << " Extra" << i << "=\"value " << i << "\"";

    many << "/>";
    store.loadFrom (many.getMemoryBlock());

    ASSERT_FALSE (store.properties.isUsingRegistryFallback());
    EXPECT_EQ (store.properties.getSetting ("Extra4321", {}, key), "value 4321");

    store.properties.setSetting ("InstallDir", "C:\\x\\");
    const auto reloaded = store.savedAndReloaded();
    EXPECT_EQ (reloaded->getRootElement()->getNumAttributes(), 5001);
    EXPECT_EQ (reloaded->getSetting ("Extra0", {}, key), "value 0");
    EXPECT_EQ (reloaded->getSetting ("Extra4999", {}, key), "value 4999");
}

TEST (InstallProperties, ValuesRoundTripThroughTheFile)
{
    Store store;
    store.properties.loadProperties();

    const String values[] = {
        "C:\\Program Files (x86)\\Kestrune\\Sorna\\",
        "a \"quoted\" <tag> & 'apostrophe'",
        String (juce::CharPointer_UTF8 ("Zo\xc3\xab \xe6\x97\xa5\xe6\x9c\xac \xf0\x9f\x8e\xb9")),
        "two\r\nlines\tand a tab",
        "",
        "   spaces around   ",
    };

    for (int i = 0; i < juce::numElementsInArray (values); ++i)
        store.properties.setSetting ("Value" + String (i), values[i]);

    String errorText;
    store.properties.saveProperties (errorText);
    ASSERT_EQ (errorText, "");

    InstallProperties reloaded (SpecialFolders::applicationData());
    reloaded.loadProperties();
    ASSERT_FALSE (reloaded.isUsingRegistryFallback());

    for (int i = 0; i < juce::numElementsInArray (values); ++i)
        EXPECT_EQ (reloaded.getSetting ("Value" + String (i), "absent", key), values[i]) << i;
}

TEST (InstallProperties, AFailedSaveKeepsThePreviousFileAndIsReported)
{
    Store store;
    store.loadFrom (bytesOf ("<SornaProperties InstallDir=\"C:\\Old\\\"/>"));
    const auto before = fileBytes (store.file);

    // The new document is far larger than the limit, so its writing fails part-way.
    store.properties.setSetting ("Pad", String::repeatedString ("x", 256 * 1024));
    String errorText;

    {
        const FileSizeLimit limit (64 * 1024);
        store.properties.saveProperties (errorText);
    }

    EXPECT_EQ (errorText, writeFailure + store.file.getFullPathName());
    EXPECT_EQ (fileBytes (store.file), before);
    EXPECT_EQ (store.file.getParentDirectory().getNumberOfChildFiles (File::findFilesAndDirectories), 1)
        << "no temporary file may be left behind";
}

TEST (InstallProperties, SomethingInTheWayIsReported)
{
    {
        // A folder (not empty) where the file should be: it cannot be replaced.
        Store store;
        store.file.getChildFile ("inside").create();
        store.properties.loadProperties();
        EXPECT_TRUE (store.properties.isUsingRegistryFallback());

        String errorText ("earlier line\n");
        store.properties.saveProperties (errorText);
        EXPECT_EQ (errorText, "earlier line\n" + writeFailure + store.file.getFullPathName());
        EXPECT_TRUE (store.file.getChildFile ("inside").existsAsFile());
    }
    {
        // A file where the "Sorna" folder should be: the file cannot even be created.
        Store store;
        writeFile (store.file.getParentDirectory(), bytesOf ("not a folder"));
        store.properties.loadProperties();

        String errorText;
        store.properties.saveProperties (errorText);
        EXPECT_TRUE (errorText.startsWith ("Failed to create a required properties file: ")) << errorText;
        EXPECT_FALSE (errorText.contains (writeFailure)) << "one failure, one line: " << errorText;
        EXPECT_FALSE (errorText.containsChar ('\n'));
        EXPECT_EQ (fileBytes (store.file.getParentDirectory()), bytesOf ("not a folder"));
    }
}

TEST (InstallProperties, AnUncreatableFileGivesOneLineOfItsOwn)
{
    Store store;
    writeFile (store.file.getParentDirectory(), bytesOf ("not a folder"));
    const auto reason = store.file.create().getErrorMessage();
    ASSERT_TRUE (reason.isNotEmpty());
    store.properties.loadProperties();

    // Earlier lines end in a line break; the properties line is the last and has none.
    String errorText ("Failed to copy a to b.\n");
    store.properties.saveProperties (errorText);
    EXPECT_EQ (errorText, "Failed to copy a to b.\nFailed to create a required properties file: " + reason);

    // Should a text without a closing line break come first, the line still starts a new one.
    String unterminated ("an earlier line");
    store.properties.saveProperties (unterminated);
    EXPECT_EQ (unterminated, "an earlier line\nFailed to create a required properties file: " + reason);

    EXPECT_EQ (fileBytes (store.file.getParentDirectory()), bytesOf ("not a folder"));
}

TEST (InstallProperties, CommentsAndWhiteSpaceAfterTheRootElementKeepTheDocument)
{
    // CDATA may hold what looks like the root's end.
    const String element ("<OlderProperties Colour=\"teal\" InstallDir=\"C:\\Old\\\"><Note Text=\"kept\"/>"
                          "<Text><![CDATA[ 1 > 0 </OlderProperties> ]]></Text></OlderProperties>");
    const String comments[] = {
        "\r\n<!-- edited by hand -->\r\n",
        "<!--one--> \t\n<!-- two > and </OlderProperties> inside -->\n\n",
        "\r\n<!-- before the closing zero byte -->\r\n",
    };

    for (auto& trailer : comments)
    {
        SCOPED_TRACE (trailer);
        Store store;
        juce::MemoryOutputStream content;
        content << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n\r\n" << element << trailer;
        content.writeByte (0);
        store.loadFrom (content.getMemoryBlock());

        ASSERT_FALSE (store.properties.isUsingRegistryFallback());
        EXPECT_EQ (store.properties.getSetting ("InstallDir", {}, key), "C:\\Old\\");

        const auto reloaded = store.savedAndReloaded();
        ASSERT_FALSE (reloaded->isUsingRegistryFallback());
        EXPECT_EQ (reloaded->getRootElement()->getTagName(), "OlderProperties");
        EXPECT_EQ (reloaded->getSetting ("Colour", {}, key), "teal");
        ASSERT_NE (reloaded->getRootElement()->getChildByName ("Note"), nullptr);
    }
}

TEST (InstallProperties, AnythingButCommentsAfterTheRootElementStillFallsBack)
{
    const char* const texts[] = {
        "<SornaProperties InstallDir=\"C:\\x\\\"/>\r\n<!-- cut short",
        "<SornaProperties InstallDir=\"C:\\x\\\"/>\r\n<!-- note --> and text",
        "<SornaProperties InstallDir=\"C:\\x\\\"/>\r\n<!-- note --><Second/>",
        "<SornaProperties InstallDir=\"C:\\x\\\"/><Second/>",
        "<SornaProperties InstallDir=\"C:\\x\\\"></SornaProperties><Second></Second>",
        "<SornaProperties InstallDir=\"C:\\x\\\"/>\r\n<?pi?>",
        "<SornaProperties InstallDir=\"C:\\x\\\"/>\r\n<![CDATA[x]]>",
        "<SornaProperties InstallDir=\"C:\\x\\\"><!-- </SornaProperties> -->",
        "<SornaProperties InstallDir=\"C:\\x\\\"><Inner/><!-- note -->",
    };

    for (auto* text : texts)
    {
        Store store;
        ASSERT_TRUE (Registry::setValue (key + "InstallDir", "from registry"));
        store.loadFrom (bytesOf (text));

        EXPECT_TRUE (store.properties.isUsingRegistryFallback()) << text;
        EXPECT_EQ (store.properties.getSetting ("InstallDir", {}, key), "from registry") << text;
    }
}
