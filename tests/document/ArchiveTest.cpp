// The archive's number and string encodings, written and read back, and reads past the end.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "document/ArchiveReader.h"
#include "document/ArchiveWriter.h"
#include "tests/support/TestFiles.h"

namespace {

CArchiveReader ReaderOf(const std::string& bytes) {
    return {reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()};
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
    CArchiveReader r = ReaderOf(w.Bytes());
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
        CArchiveReader r = ReaderOf(w.Bytes());
        std::string back;
        ASSERT_TRUE(r.ReadString(back));
        EXPECT_EQ(back, text);
        EXPECT_EQ(r.Position(), w.Bytes().size());
    }
}

// Each line of data/archive-strings.txt holds a string's bytes in hex and what reading them
// gives: the text (UTF-16 converted to UTF-8, a surrogate pair making one character, unpaired
// surrogates U+FFFD, the last character of each UTF-8 length and the first of the next) and the
// position after it, or a failure. The rows cover the 8-byte length form and the wide form, and
// lengths beyond the end in every form, cut inside the 2- and 4-byte lengths too: a failure
// allocates and returns nothing, and every later read fails.
TEST(ArchiveTest, StringsReadAsTheReferenceSays) {
    const std::string path = HALVO_AREA_DATA_DIR "/archive-strings.txt";
    std::string table;
    for (const std::string& line : SplitLines(ReadFileBytes(path))) {
        const std::string hex = line.substr(0, line.find('\t'));
        std::vector<uint8_t> bytes;
        for (size_t i = 0; i + 1 < hex.size(); i += 2) {
            bytes.push_back(static_cast<uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
        }
        const size_t size = bytes.size();
        bytes.resize(size + 8, 0);  // never read: the reader sees only the string
        CArchiveReader r(bytes.data(), size);
        std::string text = "unchanged";
        int32_t value = 5;
        const bool read = r.ReadString(text);
        const bool failedOn = r.Failed() && !r.ReadI32(value) && value == 5;
        table += hex + "\t" + (read ? "read " : "fails, ") + text + " to " +
                 std::to_string(r.Position()) + " of " + std::to_string(size) +
                 (failedOn ? ", later reads fail" : "") + "\n";
    }
    ASSERT_FALSE(table.empty());
    EXPECT_EQ(ReferenceMismatch(table, path), "");
}

}  // namespace
