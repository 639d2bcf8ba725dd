// The archive's number and string encodings, written and read back, and reads past the end.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "document/ArchiveReader.h"
#include "document/ArchiveWriter.h"

namespace {

std::vector<uint8_t> Bytes(const std::string& s) {
    return {s.begin(), s.end()};
}

std::string Utf16Le(const std::u16string& text) {
    std::string out;
    for (char16_t c : text) {
        out.push_back(static_cast<char>(c & 0xFF));
        out.push_back(static_cast<char>(c >> 8));
    }
    return out;
}

TEST(ArchiveTest, NumbersAreLittleEndian) {
    CArchiveWriter w;
    w.WriteU32(200);
    w.WriteI32(-2);
    w.WriteI64(21600);
    w.WriteDouble(1.0);
    EXPECT_EQ(w.Bytes(), std::string("\xC8\0\0\0\xFE\xFF\xFF\xFF\x60\x54\0\0\0\0\0\0"
                                     "\0\0\0\0\0\0\xF0\x3F",
                                     24));
    const auto bytes = Bytes(w.Bytes());
    CArchiveReader r(bytes.data(), bytes.size());
    uint32_t u = 0;
    int32_t i = 0;
    int64_t l = 0;
    double d = 0;
    ASSERT_TRUE(r.ReadU32(u) && r.ReadI32(i) && r.ReadI64(l) && r.ReadDouble(d));
    EXPECT_EQ((std::vector<double>{double(u), double(i), double(l), d}),
              (std::vector<double>{200, -2, 21600, 1.0}));
}

// Each length picks the shortest prefix; 0xFFFE is never written as a 2-byte length because it
// marks a wide string.
TEST(ArchiveTest, StringLengthPrefixTakesItsShortestForm) {
    const struct {
        size_t length;
        std::string prefix;
    } cases[] = {
        {0, std::string("\x00", 1)},
        {254, "\xFE"},
        {255, std::string("\xFF\xFF\x00", 3)},
        {65533, "\xFF\xFD\xFF"},
        {65534, std::string("\xFF\xFF\xFF\xFE\xFF\x00\x00", 7)},
        {70000, std::string("\xFF\xFF\xFF\x70\x11\x01\x00", 7)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.length);
        const std::string text(c.length, 'x');
        CArchiveWriter w;
        w.WriteString(text);
        ASSERT_EQ(w.Bytes().size(), c.prefix.size() + c.length);
        EXPECT_EQ(w.Bytes().substr(0, c.prefix.size()), c.prefix);
        const auto bytes = Bytes(w.Bytes());
        CArchiveReader r(bytes.data(), bytes.size());
        std::string back;
        ASSERT_TRUE(r.ReadString(back));
        EXPECT_EQ(back, text);
        EXPECT_EQ(r.Position(), bytes.size());
    }
}

// The 8-byte length form and the wide form (UTF-16 converted to UTF-8) on reading.
TEST(ArchiveTest, LongAndWideStringFormsAreRead) {
    const struct {
        std::string bytes;
        std::string utf8;
    } cases[] = {
        {std::string("\xFF\xFF\xFF\xFF\xFF\xFF\xFF\x03\0\0\0\0\0\0\0abc", 18), "abc"},
        {"\xFF\xFE\xFF\x04" + Utf16Le(u"Graf"), "Graf"},
        {"\xFF\xFE\xFF\x04" + Utf16Le(u"\u00C4 \u65E5\u672C"), "\xC3\x84 \xE6\x97\xA5\xE6\x9C\xAC"},
        // a surrogate pair makes one 4-byte character
        {"\xFF\xFE\xFF\x02" + Utf16Le(u"\U0001F600"), "\xF0\x9F\x98\x80"},
        // unpaired surrogates become U+FFFD
        {"\xFF\xFE\xFF\x03" + Utf16Le(std::u16string{0xD800, u'a', 0xDC00}),
         "\xEF\xBF\xBD"
         "a\xEF\xBF\xBD"},
        {"\xFF\xFE\xFF\xFF\x2C\x01" + Utf16Le(std::u16string(300, u'w')), std::string(300, 'w')},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.utf8);
        const auto bytes = Bytes(c.bytes + "\x07");
        CArchiveReader r(bytes.data(), bytes.size());
        std::string text;
        ASSERT_TRUE(r.ReadString(text));
        EXPECT_EQ(text, c.utf8);
        EXPECT_EQ(r.Position(), bytes.size() - 1);  // just before the trailing byte
    }
}

// A length beyond the end, in any form, is a short read: nothing is allocated or returned,
// and every later read fails too.
TEST(ArchiveTest, LengthBeyondTheEndFailsAndStaysFailed) {
    const std::string cases[] = {
        "\x05"
        "abcd",
        std::string("\xFF\x00\x01", 3) + std::string(255, 'a'),
        "\xFF\xFF\xFF\xF0\xFF\xFF\xFF",
        "\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF\xFF",
        std::string("\xFF\xFE\xFF\x03"
                    "a\0b\0",
                    8),
        "\xFF\xFE",
        "\xFF\x05",          // cut inside the 2-byte length
        "\xFF\xFF\xFF\x05",  // cut inside the 4-byte length
    };
    for (const std::string& c : cases) {
        const auto bytes = Bytes(c + std::string(8, '\0'));
        CArchiveReader r(bytes.data(), c.size());
        std::string text = "unchanged";
        EXPECT_FALSE(r.ReadString(text));
        EXPECT_EQ(text, "unchanged");
        EXPECT_TRUE(r.Failed());
        int32_t value = 5;
        EXPECT_FALSE(r.ReadI32(value));
        EXPECT_EQ(value, 5);
    }
}

}  // namespace
