// Archives that vendors make with other common tools from a folder of the right files: each
// is either unpacked by the installer's reader into exactly those files, or refused both by
// payload_tool's check and by the reader with the real cause.
#if defined (SORNA_PAYLOAD_TOOL_PATH)

#include <gtest/gtest.h>
#include "install/PayloadArchive.h"
#include "product/Product.h"
#include "tests/support/Processes.h"
#include "uninstall/ContentList.h"
#include "tests/support/Sandbox.h"

#include <string_view>

using namespace juce;

namespace
{
    struct Kind
    {
        const char* label;
        const char* command;        // run by sh in the product folder; $OUT is the archive to make
        const char* marker;         // bytes the archive must hold for the kind to be what it claims
        const char* refusal;        // empty when the archive must be accepted; else the check's reason
        const char* readerFailure;  // the start of the reader's failure, when refused
    };

    // Python's zipfile: deflated or stored, without folder entries, with an archive comment;
    // "stream" writes to a pipe-like file it cannot seek, which makes it use data descriptors.
    const char* const pythonZip = R"(
import io, os, sys, zipfile
out, mode = sys.argv[1], sys.argv[2]
class Unseekable (io.RawIOBase):
    def __init__ (self, f): self.f = f
    def writable (self): return True
    def write (self, b): return self.f.write (b)
with open (out, "wb") as f:
    target = Unseekable (f) if mode == "stream" else f
    method = zipfile.ZIP_STORED if mode == "stored" else zipfile.ZIP_DEFLATED
    with zipfile.ZipFile (target, "w", method) as z:
        for folder, subfolders, files in sorted (os.walk (".")):
            for name in sorted (files):
                path = os.path.join (folder, name)
                z.write (path, os.path.relpath (path, "."))
        if mode != "stream":
            z.comment = b"Sorna files for the installer"
)";

    const Kind kinds[] = {
        { "Info-ZIP, deflated", "zip -q -r \"$OUT\" .", "", "", "" },
        { "Info-ZIP, stored", "zip -q -r -0 \"$OUT\" .", "", "", "" },
        { "Info-ZIP, ZIP64 records", "zip -q -r -fz \"$OUT\" .", "PK\x06\x06", "", "" },
        { "Info-ZIP, streamed (data descriptors)", "zip -q -r - . | cat > \"$OUT\"", "PK\x07\x08", "", "" },
        { "Info-ZIP, archive comment", "echo 'Sorna 1.8' | zip -q -r -z \"$OUT\" .", "Sorna 1.8", "", "" },
        { "7-Zip, deflated", "7z a -bd -tzip \"$OUT\" . > /dev/null", "", "", "" },
        { "7-Zip, stored", "7z a -bd -tzip -mx=0 \"$OUT\" . > /dev/null", "", "", "" },
        { "7-Zip, password", "7z a -bd -tzip -pSECRET \"$OUT\" . > /dev/null", "",
          "\"Sorna.exe\" is encrypted: the installer cannot read password-protected entries",
          "Password-protected file in the installer, which it cannot unpack: " },
        { "7-Zip, password with AES", "7z a -bd -tzip -pSECRET -mem=AES256 \"$OUT\" . > /dev/null", "",
          "\"Sorna.exe\" is encrypted: the installer cannot read password-protected entries",
          "Password-protected file in the installer, which it cannot unpack: " },
        { "7-Zip, bzip2", "7z a -bd -tzip -mm=BZip2 \"$OUT\" . > /dev/null", "",
          "uses compression method 12 (bzip2): the installer reads only stored and deflated entries",
          "File in the installer packed with a method it cannot read (12): " },
        { "bsdtar, names starting with ./", "bsdtar --format zip -cf \"$OUT\" .", "./Sorna.exe", "", "" },
        { "bsdtar, streamed", "bsdtar --format zip -cf - . | cat > \"$OUT\"", "PK\x07\x08", "", "" },
        { "Python zipfile, deflated", "python3 \"$SCRIPT\" \"$OUT\" deflated", "Sorna files for", "", "" },
        { "Python zipfile, stored", "python3 \"$SCRIPT\" \"$OUT\" stored", "", "", "" },
        { "Python zipfile, streamed", "python3 \"$SCRIPT\" \"$OUT\" stream", "PK\x07\x08", "", "" },
    };

    // A small product folder: every required entry, text that deflates, noise that does not,
    // names with spaces and dots, a nested folder.
    File makeProduct (const Sandbox& sandbox)
    {
        auto product = sandbox.folder ("product");
        StringArray files;

        for (auto& required : Product::requiredPayloadEntries())
            if (! required.endsWithChar ('/'))
                files.add (required);

        files.addArray ({ "data/presets/Pad - Warm 1.2.srn", "data/presets/Bass - Deep 1.0.srn", "data/mesh/ws/Tube.ws",
                          "data/mesh/ir/Amp/Combo 1x12.ir", "data/tutorials/1. Intro Tutorial.xml" });
        Random random (5);

        for (auto& name : files)
        {
            auto f = product.getChildFile (name);
            EXPECT_TRUE (f.create().wasOk());

            if (name.endsWith (".ir") || name.endsWith (".dll"))
            {
                MemoryBlock noise ((size_t) (3000 + random.nextInt (5000)));
                random.fillBitsRandomly (noise.getData(), noise.getSize());
                EXPECT_TRUE (f.replaceWithData (noise.getData(), noise.getSize()));
            }
            else
            {
                EXPECT_TRUE (f.replaceWithText (String::repeatedString ("<param name=\"" + name + "\" value=\"0.5\"/>\n", 40)));
            }
        }

        return product;
    }

    bool holds (const MemoryBlock& bytes, const char* marker)
    {
        return std::string_view (static_cast<const char*> (bytes.getData()), bytes.getSize()).find (marker) != std::string_view::npos;
    }

    StringArray relativeFiles (const File& folder)
    {
        StringArray names;

        for (auto& f : folder.findChildFiles (File::findFiles, true))
            names.add (f.getRelativePathFrom (folder));

        names.sort (false);
        return names;
    }
}

TEST (ForeignArchive, EachCommonToolsArchiveIsInstalledOrRefusedWithItsRealCause)
{
    Sandbox sandbox;
    const auto product = makeProduct (sandbox);
    const auto script = sandbox.home().getChildFile ("pythonzip.py");
    ASSERT_TRUE (script.replaceWithText (pythonZip));

    for (auto tool : { "zip", "7z", "bsdtar", "python3" })
        ASSERT_EQ (runProcess ({ "sh", "-c", String ("command -v ") + tool }).exitCode, 0)
            << tool << " is missing: scripts/setup installs it";

    int number = 0;

    // Each kind on its own: a failed assertion ends only that kind.
    auto tryKind = [&] (const Kind& kind)
    {
        const auto zip = sandbox.home().getChildFile ("archive" + String (++number) + ".zip");
        const auto made = runProcess ({ "sh", "-c", "cd \"$1\" && OUT=\"$2\" SCRIPT=\"$3\" sh -c \"$4\"", "sh",
                                        product.getFullPathName(), zip.getFullPathName(), script.getFullPathName(),
                                        kind.command });
        ASSERT_EQ (made.exitCode, 0) << made.output;

        MemoryBlock bytes;
        ASSERT_TRUE (zip.loadFileAsData (bytes));
        EXPECT_TRUE (holds (bytes, kind.marker)) << "the tool no longer makes this kind of archive";

        const auto check = runProcess ({ SORNA_PAYLOAD_TOOL_PATH, "check", zip.getFullPathName() });
        const auto target = sandbox.folder ("unpacked" + String (number));
        const auto unpacked = PayloadArchive (bytes.getData(), bytes.getSize()).unpackTo (target);

        if (String (kind.refusal).isEmpty())
        {
            EXPECT_EQ (check.exitCode, 0) << check.output;
            ASSERT_TRUE (unpacked.wasOk()) << unpacked.getErrorMessage();
            EXPECT_EQ (relativeFiles (target), relativeFiles (product));

            for (auto& name : relativeFiles (product))
                EXPECT_TRUE (target.getChildFile (name).hasIdenticalContentTo (product.getChildFile (name))) << name;

            // The uninstaller's list, made from the same archive, names every content file the
            // installer places, with the checksum the uninstaller finds in the installed file.
            const auto listFile = sandbox.home().getChildFile ("content" + String (number) + ".txt");
            const auto listed = runProcess ({ SORNA_PAYLOAD_TOOL_PATH, "content-list", zip.getFullPathName(), listFile.getFullPathName() });
            ASSERT_EQ (listed.exitCode, 0) << listed.output;
            const auto list = ContentList::parse (listFile.loadFileAsString());
            StringArray listedPaths;

            for (auto& content : list)
            {
                listedPaths.add (content.path);
                juce::uint32 checksum = 0;
                EXPECT_TRUE (ContentList::checksumOf (product.getChildFile ("data/" + content.path), checksum)) << content.path;
                EXPECT_EQ (checksum, content.checksum) << content.path;
            }

            StringArray contentPaths;

            for (auto& name : relativeFiles (product))
                if (name.startsWith ("data/presets/") || name.startsWith ("data/mesh/") || name.startsWith ("data/tutorials/"))
                    contentPaths.add (name.substring (5));

            EXPECT_EQ (listedPaths.joinIntoString ("|"), contentPaths.joinIntoString ("|"));
        }
        else
        {
            EXPECT_NE (check.exitCode, 0);
            EXPECT_TRUE (check.output.contains (kind.refusal)) << check.output;
            EXPECT_FALSE (check.output.contains ("damaged")) << check.output;
            EXPECT_FALSE (check.output.contains ("missing")) << check.output;
            EXPECT_TRUE (unpacked.getErrorMessage().startsWith (kind.readerFailure)) << unpacked.getErrorMessage();
        }
    };

    for (auto& kind : kinds)
    {
        SCOPED_TRACE (kind.label);
        tryKind (kind);
    }
}

#endif
