#include <gtest/gtest.h>
#include "platform/linux/Utf16.h"

#include <vector>

// The one UTF-16 reader of the Linux stand-ins: the shell link's strings and the registry
// file's hex texts refuse half a surrogate pair, the registry file's own text replaces it.
namespace
{
    using juce::String;

    // "Zoë 𝄞" as little-endian units: the clef is a surrogate pair.
    const std::vector<juce::uint8> text { 'Z', 0, 'o', 0, 0xeb, 0, ' ', 0, 0x34, 0xd8, 0x1e, 0xdd };

    String expectedText()
    {
        return String (juce::CharPointer_UTF8 ("Zo\xc3\xab \xf0\x9d\x84\x9e"));
    }

    std::vector<juce::uint8> swapped (std::vector<juce::uint8> bytes)
    {
        for (size_t i = 0; i + 1 < bytes.size(); i += 2)
            std::swap (bytes[i], bytes[i + 1]);

        return bytes;
    }

    struct Read
    {
        bool ok = false;
        String text { "untouched" };
        bool terminated = false;
    };

    Read read (const std::vector<juce::uint8>& bytes, Utf16::LoneSurrogates lone,
               Utf16::Order order = Utf16::Order::littleEndian)
    {
        Read r;
        r.ok = Utf16::read (bytes.data(), bytes.size(), r.text, r.terminated, order, lone);
        return r;
    }
}

TEST (Utf16, BothByteOrdersReadPairsAndStopAtTheFirstZeroUnit)
{
    using Utf16::LoneSurrogates;

    for (auto order : { Utf16::Order::littleEndian, Utf16::Order::bigEndian })
    {
        const bool little = order == Utf16::Order::littleEndian;
        auto bytes = little ? text : swapped (text);

        auto whole = read (bytes, LoneSurrogates::refuse, order);
        EXPECT_TRUE (whole.ok);
        EXPECT_EQ (whole.text, expectedText()) << little;
        EXPECT_FALSE (whole.terminated);

        // An odd last byte is no unit; a zero unit ends the text, whatever follows it.
        bytes.push_back ('!');
        EXPECT_EQ (read (bytes, LoneSurrogates::refuse, order).text, expectedText());

        bytes.pop_back();
        bytes.insert (bytes.begin() + 4, { 0, 0 });
        auto cut = read (bytes, LoneSurrogates::replace, order);
        EXPECT_TRUE (cut.ok);
        EXPECT_TRUE (cut.terminated);
        EXPECT_EQ (cut.text, "Zo");
    }
}

TEST (Utf16, HalfAPairIsRefusedOrReplacedAsAsked)
{
    using Utf16::LoneSurrogates;
    const String replacement = String::charToString (0xfffd);

    // A high half before an ordinary unit, a low half alone, the halves the wrong way round,
    // and a high half that the end (or a zero unit) cuts off.
    const std::vector<std::pair<std::vector<juce::uint8>, String>> cases {
        { { 0x00, 0xd8, 'A', 0 },                 replacement + "A" },
        { { 'A', 0, 0x00, 0xdc, 'B', 0 },         "A" + replacement + "B" },
        { { 0x00, 0xdc, 0x00, 0xd8 },             replacement + replacement },
        { { 0x00, 0xdc, 0x00, 0xdc },             replacement + replacement },
        { { 'A', 0, 0x00, 0xd8 },                 "A" + replacement },
        { { 'A', 0, 0x00, 0xd8, 0, 0, 0x00, 0xdc }, "A" + replacement },
    };

    for (auto& [bytes, replaced] : cases)
    {
        const auto refused = read (bytes, LoneSurrogates::refuse);
        EXPECT_FALSE (refused.ok) << replaced;
        EXPECT_EQ (refused.text, "untouched");

        const auto kept = read (bytes, LoneSurrogates::replace);
        EXPECT_TRUE (kept.ok);
        EXPECT_EQ (kept.text, replaced);
    }
}
