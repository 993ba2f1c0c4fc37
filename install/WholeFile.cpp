#include "install/WholeFile.h"

juce::int64 WholeFile::write (juce::InputStream& in, const juce::File& file,
                              const std::function<void (const void*, size_t)>& onChunk)
{
    juce::int64 written = 0;

    {
        juce::FileOutputStream out (file, 0);

        if (! out.openedOk())
            return -1;

        constexpr int chunkSize = 65536;
        juce::HeapBlock<char> chunk (chunkSize);

        for (int n; (n = in.read (chunk, chunkSize)) > 0; written += n)
        {
            if (onChunk)
                onChunk (chunk, (size_t) n);

            if (! out.write (chunk, (size_t) n))
                return -1;
        }
    }

    return file.getSize() == written ? written : -1;
}
