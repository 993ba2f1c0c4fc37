#include "platform/ShellLink.h"
#include "platform/WholeFile.h"
#include "platform/linux/Utf16.h"

// There is no shell to ask on Linux, so the link is written directly in the binary shell link
// (.lnk) format that Windows reads: a header, a LinkInfo that names the target as a local path,
// and the optional texts as counted UTF-16 strings. The result codes are the ones Windows gives
// for the same situations.
namespace
{
    namespace LinkFlags
    {
        constexpr juce::uint32 hasLinkInfo     = 0x02;
        constexpr juce::uint32 hasName         = 0x04;
        constexpr juce::uint32 hasRelativePath = 0x08;
        constexpr juce::uint32 hasWorkingDir   = 0x10;
        constexpr juce::uint32 hasIconLocation = 0x40;
        constexpr juce::uint32 isUnicode       = 0x80;
    }

    constexpr ShellLinkResult pathNotFound = static_cast<ShellLinkResult> (0x80070003u); // ERROR_PATH_NOT_FOUND
    constexpr ShellLinkResult accessDenied = static_cast<ShellLinkResult> (0x80070005u); // ERROR_ACCESS_DENIED
    constexpr ShellLinkResult unspecified  = static_cast<ShellLinkResult> (0x80004005u); // E_FAIL

    constexpr juce::uint32 headerSize = 0x4c;
    constexpr juce::uint8 linkClsid[16] = { 0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                            0xc0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46 };
    constexpr juce::uint32 showNormal = 1;
    constexpr juce::uint32 driveFixed = 3;

    // The counted strings of the format carry at most this many UTF-16 code units.
    constexpr size_t maxStringUnits = 0xffff;

    void writeCountedString (juce::MemoryOutputStream& out, const juce::String& text)
    {
        out.writeShort (static_cast<short> (Utf16::length (text)));
        Utf16::write (out, text);
    }

    bool isAscii (const juce::String& text)
    {
        for (auto p = text.getCharPointer(); ! p.isEmpty();)
            if (p.getAndAdvance() > 0x7f)
                return false;

        return true;
    }

    // The narrow copy of the path is read in whatever code page the reading machine uses, so
    // only ASCII is safe in it; anything else becomes '?', as Windows does for characters its
    // code page lacks, and the exact path goes into the Unicode copy.
    juce::String asciiForm (const juce::String& text)
    {
        juce::String result;

        for (auto p = text.getCharPointer(); ! p.isEmpty();)
        {
            const auto c = p.getAndAdvance();
            result << (c <= 0x7f ? juce::String::charToString (c) : juce::String ("?"));
        }

        return result;
    }

    bool isWindowsAbsolute (const juce::String& path)
    {
        if (path.length() < 3)
            return false;

        const auto drive = path[0];
        return ((drive >= 'A' && drive <= 'Z') || (drive >= 'a' && drive <= 'z'))
                && path[1] == ':' && (path[2] == '\\' || path[2] == '/');
    }

    bool isLocalAbsolute (const juce::String& path)
    {
        return isWindowsAbsolute (path) || path.startsWithChar ('/');
    }

    // LinkInfo with a VolumeID (fixed drive, no label) and the target as the local base path.
    juce::MemoryBlock makeLinkInfo (const juce::String& target)
    {
        const bool withUnicode = ! isAscii (target);
        const juce::uint32 infoHeaderSize = withUnicode ? 0x24 : 0x1c;
        const juce::uint32 volumeIdSize = 0x11;

        juce::MemoryOutputStream body;
        body.writeInt ((int) volumeIdSize);
        body.writeInt ((int) driveFixed);
        body.writeInt (0);                          // drive serial number
        body.writeInt (0x10);                       // volume label offset: the empty label below
        body.writeByte (0);

        const auto localBasePathOffset = infoHeaderSize + (juce::uint32) body.getDataSize();
        const auto ascii = asciiForm (target);
        body.write (ascii.toRawUTF8(), ascii.getNumBytesAsUTF8());
        body.writeByte (0);

        const auto commonPathSuffixOffset = infoHeaderSize + (juce::uint32) body.getDataSize();
        body.writeByte (0);

        const auto localBasePathUnicodeOffset = infoHeaderSize + (juce::uint32) body.getDataSize();

        if (withUnicode)
        {
            Utf16::write (body, target);
            body.writeShort (0);
        }

        const auto commonPathSuffixUnicodeOffset = infoHeaderSize + (juce::uint32) body.getDataSize();

        if (withUnicode)
            body.writeShort (0);

        juce::MemoryOutputStream info;
        info.writeInt ((int) (infoHeaderSize + body.getDataSize()));
        info.writeInt ((int) infoHeaderSize);
        info.writeInt (1);                          // VolumeIDAndLocalBasePath
        info.writeInt ((int) infoHeaderSize);       // the VolumeID follows the header
        info.writeInt ((int) localBasePathOffset);
        info.writeInt (0);                          // no network location
        info.writeInt ((int) commonPathSuffixOffset);

        if (withUnicode)
        {
            info.writeInt ((int) localBasePathUnicodeOffset);
            info.writeInt ((int) commonPathSuffixUnicodeOffset);
        }

        info << body.getMemoryBlock();
        return info.getMemoryBlock();
    }

    // Windows keeps the way from the link to its target as well, so that a folder moved together
    // with its link still resolves. That way exists only when both sit in the same file system.
    juce::String relativePathFrom (const juce::File& linkFile, const juce::String& target)
    {
        if (! target.startsWithChar ('/'))
            return {};

        const auto relative = juce::File (target).getRelativePathFrom (linkFile.getParentDirectory());
        return relative.startsWith ("../") ? relative : "./" + relative;
    }

    juce::MemoryBlock makeLinkFile (const juce::String& target,
                                    const juce::String& relativePath,
                                    const juce::String& description,
                                    const juce::String& workingDirectory,
                                    const juce::String& iconPath)
    {
        const bool local = isLocalAbsolute (target);

        juce::uint32 flags = LinkFlags::isUnicode;
        if (local)                         flags |= LinkFlags::hasLinkInfo;
        if (description.isNotEmpty())      flags |= LinkFlags::hasName;
        if (relativePath.isNotEmpty())     flags |= LinkFlags::hasRelativePath;
        if (workingDirectory.isNotEmpty()) flags |= LinkFlags::hasWorkingDir;
        if (iconPath.isNotEmpty())         flags |= LinkFlags::hasIconLocation;

        juce::MemoryOutputStream out;
        out.writeInt ((int) headerSize);
        out.write (linkClsid, sizeof (linkClsid));
        out.writeInt ((int) flags);
        out.writeInt (0);                           // file attributes: the target is not examined
        out.writeInt64 (0);                         // creation, access and write times unknown
        out.writeInt64 (0);
        out.writeInt64 (0);
        out.writeInt (0);                           // file size
        out.writeInt (0);                           // icon index
        out.writeInt ((int) showNormal);
        out.writeShort (0);                         // no hot key
        out.writeShort (0);                         // reserved
        out.writeInt (0);
        out.writeInt (0);
        jassert (out.getDataSize() == headerSize);

        if (local)
            out << makeLinkInfo (target);

        if (description.isNotEmpty())       writeCountedString (out, description);
        if (relativePath.isNotEmpty())      writeCountedString (out, relativePath);
        if (workingDirectory.isNotEmpty())  writeCountedString (out, workingDirectory);
        if (iconPath.isNotEmpty())          writeCountedString (out, iconPath);

        out.writeInt (0);                           // terminal block: no extra data
        return out.getMemoryBlock();
    }

    // The code Windows gives when saving into such a place fails.
    ShellLinkResult saveFailureCode (const juce::File& linkFile)
    {
        const auto folder = linkFile.getParentDirectory();

        if (! folder.isDirectory())
            return pathNotFound;

        if (! folder.hasWriteAccess())
            return accessDenied;

        return unspecified;
    }

    // Written beside the link first and moved over it only when complete, so that a failed
    // write never leaves a truncated link or destroys the one that was there.
    ShellLinkResult saveLinkFile (const juce::File& linkFile, const juce::MemoryBlock& data)
    {
        // A folder that carries the link's name is refused as Windows refuses it.
        if (linkFile.isDirectory())
            return accessDenied;

        if (! WholeFile::replaceWith (linkFile, data, WholeFile::Sync::toDisk, juce::TemporaryFile::useHiddenFile))
            return saveFailureCode (linkFile);

        return ShellLinkResults::ok;
    }
}

ShellLinkResult createShellLink (const juce::String& target,
                                 const juce::String& linkPath,
                                 const juce::String& description,
                                 const juce::String& workingDirectory,
                                 const juce::String& iconPath,
                                 juce::String& errorText)
{
    if (target.isEmpty() || linkPath.isEmpty())
        return ShellLinkResults::invalidArgument;

    const auto linkFile = juce::File::getCurrentWorkingDirectory().getChildFile (linkPath);

    // A target that is not a full path can only be stored as the way from the link to it.
    const auto relativePath = isLocalAbsolute (target) ? relativePathFrom (linkFile, target) : target;

    for (auto* text : { &description, &relativePath, &workingDirectory, &iconPath })
    {
        if (Utf16::length (*text) > maxStringUnits)
        {
            errorText << "Could not create shell link (shortcut), The parameter is incorrect.\n";
            return ShellLinkResults::invalidArgument;
        }
    }

    const auto result = saveLinkFile (linkFile, makeLinkFile (target, relativePath, description,
                                                              workingDirectory, iconPath));

    if (result < 0)
        errorText << "Failed to save shell link.\n";

    return result;
}
