// Reply framing and field splitting on byte sequences, without a port.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "link/ReplyFields.h"
#include "link/ReplyFramer.h"
#include "tests/support/TestFiles.h"

namespace {

// Carriage returns, line feeds and NULs written out, and read back.
std::string Escaped(const std::string& bytes) {
    std::string out;
    for (const char c : bytes) {
        out += c == '\r' ? "\\r" : c == '\n' ? "\\n" : c == '\0' ? "\\0" : std::string(1, c);
    }
    return out;
}

std::string Unescaped(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        const bool escape = text[i] == '\\' && i + 1 < text.size();
        const char c = escape ? text[++i] : text[i];
        out += !escape ? c : c == 'r' ? '\r' : c == 'n' ? '\n' : '\0';
    }
    return out;
}

// The framer fed byte by byte until it stops: its state, the bytes taken and what it stored.
std::string Framed(const std::string& bytes, size_t size) {
    char buffer[16];
    CReplyFramer framer(buffer, size);
    size_t consumed = 0;
    while (consumed < bytes.size() &&
           framer.Push(bytes[consumed++]) == CReplyFramer::State::Incomplete) {
    }
    const char* const states[] = {"incomplete", "complete", "overflow"};
    return std::string(states[static_cast<int>(framer.GetState())]) + " after " +
           std::to_string(consumed) + ": " + Escaped(std::string(buffer, framer.Length())) +
           (buffer[framer.Length()] == '\0' ? "" : " (not terminated)");
}

// The reply split into fields: accepted or not, the count and every field.
std::string Split(const std::string& reply) {
    std::string text = reply;
    char* field[kReplyFieldSlots];
    const int count = CReplyFields::Split(text.data(), field);
    std::string out = CReplyFields::Accepted(field, count) ? "accepted" : "refused";
    out += field[0] == nullptr ? "" : " (slot 0 used)";
    out += " " + std::to_string(count) + ":";
    for (int i = 1; i <= count; ++i) {
        out += " [" + std::string(field[i]) + "]";
    }
    return out;
}

// Each line of data/reply-parsing.txt gives bytes (escaped) and what reading them gives. Framing
// ("frame", with the buffer size): a reply ends at its first terminator and the rest stays
// unread; one longer than the buffer (its terminator included) is read to its end, kept cut to
// the buffer, and refused. Splitting ("split") works like strtok on commas and carriage returns
// and accepts only a final "OK" with at most eight values before it.
TEST(ReplyParsing, FramingAndSplittingAsTheReferenceSays) {
    const std::string path = HALVO_AREA_DATA_DIR "/reply-parsing.txt";
    std::string table;
    for (const std::string& line : SplitLines(ReadFileBytes(path))) {
        const auto c = SplitFields(line, '\t');
        ASSERT_GE(c.size(), 3u) << line;
        const std::string bytes = Unescaped(c[1]);
        table += c[0] == "frame"
                     ? c[0] + "\t" + c[1] + "\t" + c[2] + "\t" + Framed(bytes, std::stoul(c[2]))
                     : c[0] + "\t" + c[1] + "\t" + Split(bytes);
        table += "\n";
    }
    EXPECT_EQ(ReferenceMismatch(table, path), "");
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
