// Reply framing and field splitting on byte sequences, without a port.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <string>

#include "link/ReplyFields.h"
#include "link/ReplyFramer.h"
#include "tests/support/TestFiles.h"

namespace {

struct FramingCase {
    std::string bytes;
    CReplyFramer::State state;
    size_t consumed;  // bytes taken before the framer stopped
    std::string stored;
    size_t buffer = 16;
};

CReplyFramer::State Feed(CReplyFramer& framer, const std::string& bytes, size_t& consumed) {
    consumed = 0;
    for (const char c : bytes) {
        ++consumed;
        if (framer.Push(c) != CReplyFramer::State::Incomplete) {
            break;
        }
    }
    return framer.GetState();
}

// A reply ends at its first terminator and the rest stays unread; one longer than the buffer
// (its terminator included) is read to its end, kept cut to the buffer, and refused.
TEST(ReplyFramer, EndsAtTheFirstTerminatorAndRefusesWhatDoesNotFit) {
    using S = CReplyFramer::State;
    const FramingCase cases[] = {
        {"OK\r", S::Complete, 3, "OK\r"},
        {"ERR\r", S::Complete, 4, "ERR\r"},
        {"12,OK\rnext", S::Complete, 6, "12,OK\r"},
        {"OK", S::Incomplete, 2, "OK"},
        {"OK\n", S::Incomplete, 3, "OK\n"},
        {"xxERR\rOK\r", S::Complete, 6, "xxERR\r"},
        {std::string("\0\0OK\r", 5), S::Complete, 5, std::string("\0\0OK\r", 5)},
        {"EROK\r", S::Complete, 5, "EROK\r"},
        {"ABCDEFGHIJ,OK\rnext", S::Overflow, 14, "ABCDEFG", 8},
        {"12,OK\r", S::Overflow, 6, "12,OK", 6},
        {"1,OK\r", S::Complete, 5, "1,OK\r", 6},
    };
    for (const auto& c : cases) {
        char buffer[16];
        CReplyFramer framer(buffer, c.buffer);
        size_t consumed = 0;
        EXPECT_EQ(Feed(framer, c.bytes, consumed), c.state) << c.bytes;
        EXPECT_EQ(consumed, c.consumed) << c.bytes;
        EXPECT_EQ(std::string(buffer, framer.Length()), c.stored) << c.bytes;
        EXPECT_EQ(buffer[framer.Length()], '\0');
    }
}

struct SplitCase {
    std::string reply;
    std::vector<std::string> fields;
    bool accepted;
};

TEST(ReplyFields, SplitsLikeStrtokAndAcceptsOnlyAFinalOk) {
    const SplitCase cases[] = {
        {"OK\r", {}, true},
        {"2500,OK\r", {"2500"}, true},
        {"2023/04/18,10:22:31\rOK\r", {"2023/04/18", "10:22:31"}, true},
        {",,a,,\r\rb,OK\r", {"a", "b"}, true},
        {"ERR\r", {"ERR"}, false},
        {"1,OK,2\r", {"1", "OK", "2"}, false},
        {"OKAY\r", {"OKAY"}, false},
        {"", {}, false},
        {",\r,\r", {}, false},
        {"1,2,3,4,5,6,7,8,OK\r", {"1", "2", "3", "4", "5", "6", "7", "8"}, true},
        {"1,2,3,4,5,6,7,8,9,OK\r", {"1", "2", "3", "4", "5", "6", "7", "8", "9"}, false},
    };
    for (const auto& c : cases) {
        std::string text = c.reply;
        char* field[kReplyFieldSlots];
        const int count = CReplyFields::Split(text.data(), field);
        EXPECT_EQ(CReplyFields::Accepted(field, count), c.accepted) << c.reply;
        EXPECT_EQ(field[0], nullptr);
        const size_t values = c.accepted ? c.fields.size() + 1 : c.fields.size();
        ASSERT_EQ(static_cast<size_t>(count), values) << c.reply;
        for (size_t i = 0; i < c.fields.size(); ++i) {
            EXPECT_STREQ(field[i + 1], c.fields[i].c_str()) << c.reply;
        }
    }
}

TEST(ReplyFields, NumbersConvertLikeAtoiAndAtofWithinRange) {
    EXPECT_EQ(CReplyFields::ToInt("2500"), 2500);
    EXPECT_EQ(CReplyFields::ToInt(" -12abc"), -12);
    EXPECT_EQ(CReplyFields::ToInt("abc"), 0);
    EXPECT_EQ(CReplyFields::ToInt("99999999999999999999"), std::numeric_limits<int>::max());
    EXPECT_EQ(CReplyFields::ToInt("-99999999999999999999"), std::numeric_limits<int>::min());
    EXPECT_EQ(CReplyFields::ToInt(nullptr), 0);
    EXPECT_DOUBLE_EQ(CReplyFields::ToDouble("2.996000E+02"), 299.6);
    EXPECT_DOUBLE_EQ(CReplyFields::ToDouble("12.5xyz"), 12.5);
    EXPECT_DOUBLE_EQ(CReplyFields::ToDouble("none"), 0.0);
    EXPECT_EQ(CReplyFields::ToFloat("1e39"), std::numeric_limits<float>::infinity());
    EXPECT_EQ(CReplyFields::ToFloat("-1e300"), -std::numeric_limits<float>::infinity());
    EXPECT_TRUE(std::isnan(CReplyFields::ToFloat("nan")));
    EXPECT_FLOAT_EQ(CReplyFields::ToFloat("23.5"), 23.5f);
}

TEST(ReplyFields, DecimalPointIsReadWhateverTheLocale) {
    CommaLocale comma;
    ASSERT_TRUE(comma.Active()) << "de_DE.UTF-8 is not installed (scripts/setup.sh installs it)";
    EXPECT_DOUBLE_EQ(CReplyFields::ToDouble("23.75"), 23.75);
}

}  // namespace
