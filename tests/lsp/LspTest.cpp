// velkin-lsp's framing and position arithmetic, row by row.
#include <gtest/gtest.h>

#include "Frames.h"
#include "Text.h"

namespace {

using lsp::Encoding;
using lsp::FrameReader;
using lsp::Position;
using lsp::Text;

struct PositionRow {
    const char* name;
    const char* text;
    size_t offset;
    Position utf8, utf16;
};

// "é" is 2 bytes and 1 UTF-16 unit; "😀" is 4 bytes and 2 units.
const PositionRow kPositions[] = {
    {"StartOfText", "ab", 0, {0, 0}, {0, 0}},
    {"AfterTwoByteCharacter", "\"\xc3\xa9\"x", 3, {0, 3}, {0, 2}},
    {"AfterFourByteCharacter", "\xf0\x9f\x98\x80x", 4, {0, 4}, {0, 2}},
    {"SecondLine", "a\n\xc3\xa9z", 4, {1, 2}, {1, 1}},
    {"EndOfText", "a\nbc", 4, {1, 2}, {1, 2}},
    {"StartOfEmptyLastLine", "a\n", 2, {1, 0}, {1, 0}},
};

class Positions : public testing::TestWithParam<PositionRow> {};

TEST_P(Positions, OffsetAndPositionAgreeInBothEncodings)
{
    const PositionRow& row = GetParam();
    const Text text(row.text);
    for (auto [encoding, want] :
         {std::pair{Encoding::Utf8, row.utf8}, std::pair{Encoding::Utf16, row.utf16}}) {
        const Position got = text.At(row.offset, encoding);
        EXPECT_EQ(got.line, want.line);
        EXPECT_EQ(got.character, want.character);
        EXPECT_EQ(text.Offset(want, encoding), row.offset);
    }
}

INSTANTIATE_TEST_SUITE_P(Text, Positions, testing::ValuesIn(kPositions),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Text, PositionBeyondLineStaysOnItsLine)
{
    const Text text("ab\r\ncd\n");
    EXPECT_EQ(text.Offset({0, 9}, Encoding::Utf16), 2u);  // before the "\r\n"
    EXPECT_EQ(text.Offset({7, 0}, Encoding::Utf16), text.Bytes().size());
}

TEST(Text, PositionInsideSurrogatePairStandsBeforeTheCharacter)
{
    const Text text("\xf0\x9f\x98\x80x");
    EXPECT_EQ(text.Offset({0, 1}, Encoding::Utf16), 0u);
    EXPECT_EQ(text.Offset({0, 2}, Encoding::Utf16), 4u);
}

TEST(Text, CheckerColumnsCountBytesAfterTheByteOrderMark)
{
    const Text text("\xef\xbb\xbf{\"a\"\n \xc3\xa9x");
    EXPECT_EQ(text.OffsetOfColumn(1, 2), 4u);   // the '"' after the mark and '{'
    EXPECT_EQ(text.OffsetOfColumn(2, 4), 11u);  // 'x' after the two-byte 'é'
    EXPECT_EQ(text.At(11, Encoding::Utf16).character, 2u);
}

TEST(Text, IncrementalChangeReplacesTheRangeOnly)
{
    Text text(
        "{\"gr\xc3\xb6\xc3\x9f"
        "e\": 1,\n\"x\": 2}");
    text.Replace({0, 5}, {0, 6}, "", Encoding::Utf16);  // the "ß"
    text.Replace({1, 1}, {1, 2}, "yz", Encoding::Utf16);
    EXPECT_EQ(text.Bytes(),
              "{\"gr\xc3\xb6"
              "e\": 1,\n\"yz\": 2}");
    EXPECT_EQ(text.At(text.Bytes().size(), Encoding::Utf8).line, 1u);
}

std::vector<std::string> Bodies(FrameReader& reader, int& malformed)
{
    std::vector<std::string> bodies;
    std::string body;
    for (auto s = reader.Next(body); s != FrameReader::Status::NeedMore; s = reader.Next(body))
        if (s == FrameReader::Status::Frame)
            bodies.push_back(body);
        else
            ++malformed;
    return bodies;
}

TEST(Frames, ByteByByteAndTwoInOneRead)
{
    const std::string input = lsp::Frame("{\"a\":1}") + lsp::Frame("[\xc3\xa9]");
    FrameReader slow, fast;
    int malformed = 0;
    std::vector<std::string> got;
    for (char c : input) {
        slow.Feed(std::string(1, c));
        for (std::string& b : Bodies(slow, malformed))
            got.push_back(b);
    }
    fast.Feed(input);
    EXPECT_EQ(got, Bodies(fast, malformed));
    EXPECT_EQ(got, (std::vector<std::string>{"{\"a\":1}", "[\xc3\xa9]"}));
    EXPECT_EQ(malformed, 0);
}

TEST(Frames, BadHeadersAreDroppedUpToTheirBlankLine)
{
    FrameReader reader;
    reader.Feed(
        "Content-Length: -1\r\n\r\nContent-Length: 99999999999999\r\n\r\n"
        "X-Other: 1\r\ncontent-LENGTH:2\r\n\r\n{}");
    int malformed = 0;
    EXPECT_EQ(Bodies(reader, malformed), std::vector<std::string>{"{}"});
    EXPECT_EQ(malformed, 2);
    reader.Feed(std::string(10000, 'x'));  // no header ends: not kept forever
    EXPECT_EQ(Bodies(reader, malformed).size(), 0u);
    EXPECT_EQ(malformed, 3);
    EXPECT_EQ(reader.Pending(), 0u);
}

}  // namespace
