// The build's own payload rules (cmake/Payload.cmake) run on a scratch project: a hostile
// payload handed to the build must stop it with payload_tool's message, a sound one must pass.
#if defined (SORNA_PAYLOAD_TOOL_PATH)

#include <gtest/gtest.h>
#include "tests/support/Processes.h"
#include "tests/support/Sandbox.h"

using namespace juce;

namespace
{
    using Run = ProcessRun;

    Run run (const StringArray& command) { return runProcess (command); }

    const StringArray soundPayload { "Sorna.dll", "Sorna64.dll", "Sorna.vst3", "Sorna64.vst3", "Sorna.exe",
                                     "ipp_srn.dll", "ipp_srn64.dll", "Uninstall.exe", "data/presets/a.srn",
                                     "data/mesh/ws/Tube.ws", "data/tutorials/1. Intro.xml" };

    File writeZip (const File& file, const StringArray& names)
    {
        ZipFile::Builder builder;

        for (auto& name : names)
            builder.addEntry (new MemoryInputStream (name.toRawUTF8(), name.getNumBytesAsUTF8(), true), 6, name,
                              Time (2020, 0, 1, 0, 0, 0, 0, true));

        FileOutputStream out (file);
        builder.writeToStream (out, nullptr);
        return file;
    }

    // Configures and builds a project that holds only the product's facts and the payload rules,
    // with the build's own payload_tool, as the installer's build would for this SORNA_PAYLOAD.
    // With withUninstaller, the project also builds a stand-in for this project's uninstaller.
    Run buildWithPayload (const Sandbox& sandbox, const String& payload, bool withUninstaller = false)
    {
        const auto project = sandbox.home().getNonexistentChildFile ("project", {}, false);
        project.createDirectory();
        project.getChildFile ("uninstaller.c").replaceWithText ("int main (void) { return 0; }\n");
        project.getChildFile ("CMakeLists.txt").replaceWithText (
            "cmake_minimum_required(VERSION 3.22)\n"
            + String (withUninstaller ? "project(PayloadWiring C)\n"
                                        "add_executable(SornaUninstaller uninstaller.c)\n"
                                      : "project(PayloadWiring NONE)\n")
            + "add_executable(payload_tool IMPORTED)\n"
            "set_target_properties(payload_tool PROPERTIES IMPORTED_LOCATION \"" SORNA_PAYLOAD_TOOL_PATH "\")\n"
            "# Stands in for the resource embedding: the payload object depends on the check.\n"
            "function(sorna_embed list name file)\n"
            "    cmake_parse_arguments(arg \"\" \"\" \"DEPENDS\" ${ARGN})\n"
            "    add_custom_target(embed_${name} ALL DEPENDS ${file} ${arg_DEPENDS})\n"
            "endfunction()\n"
            "include(\"" SORNA_SOURCE_DIR "/product/Product.cmake\")\n"
            "include(\"" SORNA_SOURCE_DIR "/cmake/PayloadContent.cmake\")\n"
            "include(\"" SORNA_SOURCE_DIR "/cmake/Payload.cmake\")\n");

        const auto build = project.getChildFile ("build").getFullPathName();
        auto configured = run ({ "cmake", "-S", project.getFullPathName(), "-B", build, "-G", "Ninja",
                                 "-DSORNA_PAYLOAD=" + payload });

        if (configured.exitCode != 0)
            return configured;

        return run ({ "cmake", "--build", build });
    }
}

TEST (PayloadBuildWiring, ASoundPayloadBuildsAndHostileOnesStopTheBuildWithTheReason)
{
    Sandbox sandbox;

    auto sound = buildWithPayload (sandbox, writeZip (sandbox.home().getChildFile ("sound.zip"), soundPayload).getFullPathName());
    ASSERT_EQ (sound.exitCode, 0) << sound.output;
    EXPECT_TRUE (sound.output.contains ("Checking the payload")) << sound.output;

    const StringPairArray hostile ([]
    {
        StringPairArray c;
        c.set ("../evil.dll", "leaves its folder");
        c.set ("/etc/evil.conf", "absolute path");
        c.set ("C:/Windows/evil.dll", "drive letter");
        c.set ("sorna.exe", "differ only in letter case");
        return c;
    }());

    for (auto& name : hostile.getAllKeys())
    {
        SCOPED_TRACE (name);
        auto names = soundPayload;
        names.add (name);
        auto refused = buildWithPayload (sandbox, writeZip (sandbox.home().getNonexistentChildFile ("hostile", ".zip", false), names)
                                                      .getFullPathName());
        EXPECT_NE (refused.exitCode, 0);
        EXPECT_TRUE (refused.output.contains (hostile[name])) << refused.output;
    }
}

TEST (PayloadBuildWiring, AFolderOfTheProductsFilesIsZippedAndCheckedToo)
{
    Sandbox sandbox;
    auto product = sandbox.folder ("product");

    for (auto& name : soundPayload)
        ASSERT_TRUE (product.getChildFile (name).create().wasOk() && product.getChildFile (name).replaceWithText (name));

    auto sound = buildWithPayload (sandbox, product.getFullPathName());
    ASSERT_EQ (sound.exitCode, 0) << sound.output;

    // Two names that one Windows folder cannot hold apart.
    ASSERT_TRUE (product.getChildFile ("data/Presets/b.srn").create().wasOk());
    auto refused = buildWithPayload (sandbox, product.getFullPathName());
    EXPECT_NE (refused.exitCode, 0);
    EXPECT_TRUE (refused.output.contains ("differ only in letter case")) << refused.output;

    auto missing = buildWithPayload (sandbox, sandbox.home().getChildFile ("absent.zip").getFullPathName());
    EXPECT_NE (missing.exitCode, 0);
    EXPECT_TRUE (missing.output.contains ("SORNA_PAYLOAD is neither a folder nor a file")) << missing.output;
}

TEST (PayloadBuildWiring, AFolderWithoutAnUninstallerGetsTheBuildsButAFolderOrZipKeepsItsOwn)
{
    Sandbox sandbox;
    auto product = sandbox.folder ("product");

    for (auto& name : soundPayload)
    {
        if (name != "Uninstall.exe")
        {
            ASSERT_TRUE (product.getChildFile (name).create().wasOk() && product.getChildFile (name).replaceWithText (name));
        }
    }

    auto payloadOf = [] (const ProcessRun& build)
    {
        // The payload is the file that the check's message names.
        auto line = build.output.upToFirstOccurrenceOf (" is a usable payload", false, false)
                                .fromLastOccurrenceOf ("payload_tool: ", false, false);
        MemoryBlock bytes;
        File (line.trim()).loadFileAsData (bytes);
        return bytes;
    };
    auto entry = [] (const MemoryBlock& zip, const String& name)
    {
        MemoryInputStream stream (zip, false);
        ZipFile archive (stream);
        MemoryBlock bytes;

        if (auto* e = archive.getEntry (name))
            if (std::unique_ptr<InputStream> in { archive.createStreamForEntry (*e) })
                in->readIntoMemoryBlock (bytes);

        return bytes;
    };

    // Without an uninstaller of its own the folder gets the build's, stripped; its content is
    // listed for it.
    auto added = buildWithPayload (sandbox, product.getFullPathName(), true);
    ASSERT_EQ (added.exitCode, 0) << added.output;
    EXPECT_TRUE (added.output.contains ("Listing the payload's content")) << added.output;
    const auto ours = entry (payloadOf (added), "Uninstall.exe");
    ASSERT_GT (ours.getSize(), 4u) << added.output;
    EXPECT_EQ (String ((const char*) ours.getData() + 1, 3), "ELF");

    // The product's own uninstaller is kept.
    ASSERT_TRUE (product.getChildFile ("Uninstall.exe").replaceWithText ("the product's own"));
    auto kept = buildWithPayload (sandbox, product.getFullPathName(), true);
    ASSERT_EQ (kept.exitCode, 0) << kept.output;
    EXPECT_EQ (entry (payloadOf (kept), "Uninstall.exe").toString(), "the product's own");

    // A ready ZIP is used as it is: one without an uninstaller is refused, whatever the build has.
    auto names = soundPayload;
    names.removeString ("Uninstall.exe");
    auto refused = buildWithPayload (sandbox, writeZip (sandbox.home().getChildFile ("ready.zip"), names).getFullPathName(), true);
    EXPECT_NE (refused.exitCode, 0);
    EXPECT_TRUE (refused.output.contains ("missing \"Uninstall.exe\"")) << refused.output;

    // And a folder without one, in a build that has no uninstaller to give, is refused too.
    ASSERT_TRUE (product.getChildFile ("Uninstall.exe").deleteFile());
    auto none = buildWithPayload (sandbox, product.getFullPathName());
    EXPECT_NE (none.exitCode, 0);
    EXPECT_TRUE (none.output.contains ("missing \"Uninstall.exe\"")) << none.output;
}

#endif
