// The adapter's line format: encoding of outgoing frames and parsing of
// received text, including text that is not a frame and records cut in two.
#include "canopen/adapter/can_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string encode(const CanMessage &frame)
{
    char out[kCanLineMax + 1];
    return std::string(out, encodeCanLine(frame, out));
}

std::vector<CanMessage> parseAll(CanLineParser &parser, const std::string &text)
{
    std::vector<CanMessage> frames(64);
    const int n = parser.feed(text.data(), text.size(), frames.data(), static_cast<int>(frames.size()));
    frames.resize(static_cast<std::size_t>(n));
    return frames;
}

TEST(CanLineEncode, FramesBecomeUpperCaseLines)
{
    EXPECT_EQ(encode({0x601, 0, 8, {0x40, 0x00, 0x10, 0, 0, 0, 0, 0}}), "t60184000100000000000\r");
    EXPECT_EQ(encode({0x701, 0, 0, {}}), "t7010\r");
    EXPECT_EQ(encode({0x7FF, 0, 3, {0xab, 0xcd, 0xef}}), "t7FF3ABCDEF\r");
    EXPECT_EQ(encode({0x705, 1, 0, {}}), "") << "a remote request has no line";
    EXPECT_EQ(encode({0x601, 0, 9, {}}), "") << "longer than 8 bytes is refused";
    EXPECT_EQ(encode({0xF81, 0, 0, {}}), "t7810\r") << "only the 11 identifier bits are sent";
}

TEST(CanLineEncode, LongestLineFitsTheBuffer)
{
    const std::string line = encode({0x7FF, 0, 8, {1, 2, 3, 4, 5, 6, 7, 8}});
    EXPECT_EQ(line.size(), kCanLineMax + 1);
}

TEST(CanLineHex, DigitsBothWays)
{
    EXPECT_EQ(hexCharToNibble('0'), 0);
    EXPECT_EQ(hexCharToNibble('9'), 9);
    EXPECT_EQ(hexCharToNibble('a'), 10);
    EXPECT_EQ(hexCharToNibble('F'), 15);
    EXPECT_EQ(hexCharToNibble('g'), -1);
    EXPECT_EQ(hexCharToNibble('G'), -1);
    EXPECT_EQ(hexCharToNibble('/'), -1);
    EXPECT_EQ(hexCharToNibble(':'), -1);
    EXPECT_EQ(nibbleToHexChar(10), 'A');
    EXPECT_EQ(nibbleToHexChar(0x1F), 'F') << "only the low four bits count";
}

// Received text and the frames it must give, written back as lines.
struct ParseCase {
    const char *name;
    std::string text;
    std::vector<std::string> frames;
};

class CanLineParseText : public ::testing::TestWithParam<ParseCase> {};

TEST_P(CanLineParseText, GivesItsFrames)
{
    CanLineParser parser;
    std::vector<std::string> lines;
    for (const CanMessage &frame : parseAll(parser, GetParam().text)) {
        EXPECT_EQ(frame.rtr, 0);
        lines.push_back(encode(frame));
    }
    EXPECT_EQ(lines, GetParam().frames);
    EXPECT_EQ(parser.overflowCount(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, CanLineParseText,
    ::testing::Values(
        ParseCase{"ExamplesOfTheAdapter",
                  "t58180102030405060708\rt5814a1b2c3d4\rt7010\r",
                  {"t58180102030405060708\r", "t5814A1B2C3D4\r", "t7010\r"}},
        ParseCase{"GarbageStatusRepliesAndLineFeedsAreSkipped",
                  "\r\a\xff\x01z\rZ\r\nV1013\r\n\x55\xaat5811AA\r\nt5812BBCC\r",
                  {"t5811AA\r", "t5812BBCC\r"}},
        ParseCase{"EveryTStartsANewRecord", "t58t5811AA\r", {"t5811AA\r"}},
        ParseCase{"RecordsWithoutCarriageReturnsBetweenThem",
                  "t5811AAt7010t5812BBCCZZ\r",
                  {"t5811AA\r", "t7010\r", "t5812BBCC\r"}},
        // The length digit says where the record ends; what follows is noise.
        ParseCase{"DigitsPastTheRecordAreSkipped", "t58180102030405060708090A\r", {"t58180102030405060708\r"}}),
    [](const ::testing::TestParamInfo<ParseCase> &info) { return info.param.name; });

TEST(CanLineParse, BadRecordsAreDropped)
{
    CanLineParser parser;
    const char *bad[] = {
        "t58190000\r",            // length digit 9
        "t581X0000\r",            // non-hex length
        "t5G1100\r",              // non-hex identifier
        "t5812zz00\r",            // non-hex data
        "t58180102\r",            // fewer data digits than the length asks for
        "t58\r",                  // cut off
        "T123456781AA\r",         // extended frame
        "r1230\r",                // remote frame
    };
    for (const char *line : bad)
        EXPECT_TRUE(parseAll(parser, line).empty()) << line;
    EXPECT_EQ(parseAll(parser, "t5811AA\r").size(), 1u) << "the parser recovers after bad lines";
    EXPECT_TRUE(parseAll(parser, "t5812A\rBCC\r").empty()) << "a CR inside a record cuts it off";
}

TEST(CanLineParse, LineSplitAtEveryPositionIsJoined)
{
    const std::string line = "t58180102030405060708\r";
    for (std::size_t cut = 0; cut <= line.size(); ++cut) {
        CanLineParser parser;
        auto first = parseAll(parser, line.substr(0, cut));
        auto second = parseAll(parser, line.substr(cut));
        first.insert(first.end(), second.begin(), second.end());
        ASSERT_EQ(first.size(), 1u) << "cut at " << cut;
        EXPECT_EQ(first[0].data[7], 0x08);
    }
}

TEST(CanLineParse, ARecordIsCompleteWithItsLastDigit)
{
    CanLineParser parser;
    EXPECT_EQ(parseAll(parser, "t7010").size(), 1u) << "delivered without waiting for the CR";
    EXPECT_TRUE(parseAll(parser, "\r").empty()) << "and not a second time when the CR comes";
    EXPECT_TRUE(parseAll(parser, "t5812AAB").empty());
    EXPECT_EQ(parseAll(parser, "B").size(), 1u);
}

TEST(CanLineParse, LongNoiseIsSkipped)
{
    CanLineParser parser;
    std::string flood(5000, '5');
    EXPECT_TRUE(parseAll(parser, flood + "\r").empty());
    EXPECT_EQ(parseAll(parser, "t5811AA\r").size(), 1u) << "the next record is read normally";
    EXPECT_EQ(parser.overflowCount(), 0u);
}

TEST(CanLineParse, NeverMoreFramesThanTheCallerHasRoomFor)
{
    CanLineParser parser;
    std::string text;
    for (int i = 0; i < 10; ++i)
        text += "t7010\r";
    CanMessage frames[4];
    EXPECT_EQ(parser.feed(text.data(), text.size(), frames, 4), 4);
    EXPECT_EQ(parser.overflowCount(), 6u);
}

} // namespace
