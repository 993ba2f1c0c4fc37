#include "platform/WholeFile.h"

#include <optional>

#if JUCE_LINUX
 #include <cerrno>
 #include <cstdio>
 #include <sys/stat.h>
 #include <unistd.h>
#endif

namespace
{
    // Everything the stream holds, in chunks; the number of bytes written or -1.
    juce::int64 writeStream (juce::InputStream& in, juce::OutputStream& out,
                             const std::function<void (const void*, size_t)>& onChunk)
    {
        constexpr int chunkSize = 65536;
        juce::HeapBlock<char> chunk (chunkSize);
        juce::int64 written = 0;

        for (int n; (n = in.read (chunk, chunkSize)) > 0; written += n)
        {
            if (onChunk)
                onChunk (chunk, (size_t) n);

            if (! out.write (chunk, (size_t) n))
                return -1;
        }

        return written;
    }

    // Writes a temporary file beside target with writeInto, which returns the number of bytes
    // the file must hold (or -1 when it failed), and moves it over target once it is complete,
    // with the modification time given (none: the time of writing).
    template <typename Writer>
    bool replaceThroughTemporary (const juce::File& target, WholeFile::Sync sync, int temporaryFileFlags,
                                  Writer&& writeInto, std::optional<juce::Time> modified = {})
    {
        // Replacing would take away an empty folder that carries the file's name.
        if (target.isDirectory())
            return false;

        juce::TemporaryFile temp (target, temporaryFileFlags);
        juce::int64 expected = -1;

        {
            // Unbuffered, so that each write reports its own failure.
            juce::FileOutputStream out (temp.getFile(), 0);

            if (! out.openedOk())
                return false;

            expected = writeInto (out);

            if (expected < 0)
                return false;

            if (sync == WholeFile::Sync::toDisk)
                out.flush();

            if (out.getStatus().failed())
                return false;
        }

        // A full disk can cut the last write short without setting the stream's status.
        return temp.getFile().getSize() == expected
            && (! modified || temp.getFile().setLastModificationTime (*modified))
            && temp.overwriteTargetFileWithTemporary();
    }

    // The writer of a temporary file that takes everything the stream holds from its position
    // to its end.
    auto wholeStream (juce::InputStream& source)
    {
        return [&source] (juce::OutputStream& out) -> juce::int64
        {
            const auto total = source.getTotalLength();
            const auto remaining = total >= 0 ? total - source.getPosition() : -1;
            const auto written = writeStream (source, out, {});

            // A read that failed part-way ends the stream early.
            if (written < 0 || (remaining >= 0 ? written != remaining : ! source.isExhausted()))
                return -1;

            return written;
        };
    }

   #if JUCE_LINUX
    enum class LinkOutcome { linked, failed, notPossible };

    // A hard link to source beside destination, renamed over it: the destination appears whole
    // in one step, and no new file is made.
    LinkOutcome linkInPlace (const juce::File& source, const juce::File& destination)
    {
        const auto sourcePath = source.getFullPathName();
        struct stat sourceInfo {}, destinationInfo {};

        // Only a plain file: a symbolic link would be linked itself, or lead anywhere.
        if (::lstat (sourcePath.toRawUTF8(), &sourceInfo) != 0 || ! S_ISREG (sourceInfo.st_mode))
            return LinkOutcome::notPossible;

        // Already the same file: renaming one name of it over another would do nothing.
        if (::lstat (destination.getFullPathName().toRawUTF8(), &destinationInfo) == 0
             && destinationInfo.st_dev == sourceInfo.st_dev && destinationInfo.st_ino == sourceInfo.st_ino)
            return LinkOutcome::linked;

        const auto folder = destination.getParentDirectory();
        const auto stem = destination.getFileNameWithoutExtension() + "_temp";
        const auto extension = destination.getFileExtension();
        juce::Random random;

        for (int attempt = 0; attempt < 8; ++attempt)
        {
            const auto temporary = folder.getChildFile (stem + juce::String::toHexString (random.nextInt()) + extension)
                                         .getFullPathName();

            if (::link (sourcePath.toRawUTF8(), temporary.toRawUTF8()) != 0)
            {
                if (errno == EEXIST)
                    continue;

                // Another file system, or one without hard links: a copy will do.
                return LinkOutcome::notPossible;
            }

            if (std::rename (temporary.toRawUTF8(), destination.getFullPathName().toRawUTF8()) == 0)
                return LinkOutcome::linked;

            ::unlink (temporary.toRawUTF8());
            return LinkOutcome::failed;
        }

        return LinkOutcome::notPossible;
    }
   #endif
}

bool WholeFile::replaceWith (const juce::File& target, const juce::MemoryBlock& data,
                             Sync sync, int temporaryFileFlags)
{
    return replaceThroughTemporary (target, sync, temporaryFileFlags, [&data] (juce::OutputStream& out) -> juce::int64
    {
        return out.write (data.getData(), data.getSize()) ? (juce::int64) data.getSize() : -1;
    });
}

bool WholeFile::replaceWith (const juce::File& target, juce::InputStream& source,
                             Sync sync, int temporaryFileFlags)
{
    return replaceThroughTemporary (target, sync, temporaryFileFlags, wholeStream (source));
}

bool WholeFile::copy (const juce::File& source, const juce::File& destination)
{
    if (! source.existsAsFile() || destination.isDirectory())
        return false;

    if (source == destination)
        return true;

    // The copy keeps the source's modification time, as the system's own copy does: an
    // installed file shows when it was made, not when it was installed.
    juce::FileInputStream in (source);
    return in.openedOk()
        && replaceThroughTemporary (destination, Sync::cached, 0, wholeStream (in), source.getLastModificationTime());
}

bool WholeFile::copyOrLink (const juce::File& source, const juce::File& destination)
{
   #if JUCE_LINUX
    if (source != destination && ! destination.isDirectory())
    {
        const auto outcome = linkInPlace (source, destination);

        if (outcome != LinkOutcome::notPossible)
            return outcome == LinkOutcome::linked;
    }
   #endif

    return copy (source, destination);
}

bool WholeFile::readSmall (const juce::File& file, juce::int64 sizeLimit, juce::MemoryBlock& data)
{
    if (! file.existsAsFile() || file.getSize() > sizeLimit)
        return false;

    juce::FileInputStream in (file);

    if (! in.openedOk())
        return false;

    in.readIntoMemoryBlock (data, (ssize_t) (sizeLimit + 1));
    return in.getStatus().wasOk() && (juce::int64) data.getSize() <= sizeLimit;
}

juce::int64 WholeFile::write (juce::InputStream& in, const juce::File& file,
                              const std::function<void (const void*, size_t)>& onChunk)
{
    juce::int64 written = 0;

    {
        juce::FileOutputStream out (file, 0);

        if (! out.openedOk())
            return -1;

        written = writeStream (in, out, onChunk);

        if (written < 0)
            return -1;
    }

    return file.getSize() == written ? written : -1;
}
