// The document settings: defaults, the "Orvel.cfg" bytes, short and damaged files, clamping.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <iterator>
#include <limits>
#include <string>
#include <vector>

#include "document/OrvelSettings.h"
#include "tests/support/TestFiles.h"

namespace fs = std::filesystem;

namespace {

const char* const kExeDir = "/opt/halvo/";

// The bytes as lowercase hex, sixteen bytes a line.
std::string HexLines(const std::string& bytes) {
    std::string out;
    for (size_t i = 0; i < bytes.size(); ++i) {
        char two[3];
        std::snprintf(two, sizeof two, "%02x", static_cast<unsigned char>(bytes[i]));
        out += std::string(two) + (i % 16 == 15 || i + 1 == bytes.size() ? "\n" : "");
    }
    return out;
}

int Load(COrvelSettings& s, const std::string& bytes) {
    return s.LoadFromBytes(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

// One stored field in file order: its encoded size (0: a string, sized from its value), how to
// give it a value other than its default (inside the valid ranges; the memo needs the 2-byte
// length form, the title is Japanese) and a comparison.
struct Field {
    size_t size;
    const char* name;
    std::string COrvelSettings::*text;
    void (*setOther)(COrvelSettings&);
    bool (*same)(const COrvelSettings&, const COrvelSettings&);
};

#define SAME(m) [](const COrvelSettings& a, const COrvelSettings& b) { return a.m == b.m; }
#define FIELD(m, n, text, value)                                     \
    {                                                                \
        n, #m, text, [](COrvelSettings& s) { s.m = value; }, SAME(m) \
    }
#define NUMBER(m, n, value) FIELD(m, n, nullptr, value)
#define TEXT(m, value) FIELD(m, 0, &COrvelSettings::m, value)

const std::vector<Field>& Fields() {
    static const std::vector<Field> fields = {NUMBER(m_comPort, 4, 7),
                                              NUMBER(m_longitude, 8, -122.25),
                                              NUMBER(m_latitude, 8, 47.5),
                                              NUMBER(m_edgeAngle, 8, 12.5),
                                              TEXT(m_graphTitle, "日射スペクトル"),
                                              TEXT(m_dataMemo, std::string(300, 'M')),
                                              NUMBER(m_intervalStart, 8, 18000),
                                              NUMBER(m_intervalEnd, 8, 72000),
                                              NUMBER(m_intervalPeriod, 8, 300),
                                              NUMBER(m_exposureIndex, 4, 5),
                                              TEXT(m_dataFolder, "/data/halvo/"),
                                              TEXT(m_intervalFile, "/data/halvo/site.wsx"),
                                              TEXT(m_saveFile, "/home/user/save.wsx"),
                                              TEXT(m_csvFile, "/home/user/counts.csv"),
                                              NUMBER(m_autoFileName, 4, 0),
                                              NUMBER(m_autoStart, 4, 1),
                                              NUMBER(m_graphParam.xMin, 8, 350.0),
                                              NUMBER(m_graphParam.yMaxLin, 8, 20000.0),
                                              NUMBER(m_graphParam.xMax, 8, 1000.0),
                                              NUMBER(m_graphParam.yMinLin, 8, -5.0),
                                              NUMBER(m_graphParam.yMaxLog, 8, 3.0),
                                              NUMBER(m_graphParam.yMinLog, 8, -2.0),
                                              NUMBER(m_graphParam.logScale, 4, 1),
                                              NUMBER(m_graphParam.autoScale, 4, 0),
                                              NUMBER(m_graphParam.marker, 4, 1),
                                              NUMBER(m_graphParam.grid, 4, 0),
                                              NUMBER(m_graphParam.unit, 4, 1),
                                              NUMBER(m_graphParam.color0, 4, 0x00FF8000)};
    return fields;
}

COrvelSettings NonDefault() {
    COrvelSettings s(kExeDir);
    for (const Field& f : Fields()) {
        f.setOther(s);
    }
    return s;
}

// Offset just past each field of s's file (after the 4-byte format word).
std::vector<size_t> FieldEnds(const COrvelSettings& s) {
    std::vector<size_t> ends;
    size_t pos = 4;
    for (const Field& f : Fields()) {
        const size_t n = f.size != 0 ? 0 : (s.*f.text).size();
        pos += f.size != 0 ? f.size : (n < 255 ? 1 : 3) + n;
        ends.push_back(pos);
    }
    return ends;
}

// A first run, with no file, and a load after other values were set give the same defaults;
// the file they make is byte-exact.
TEST(OrvelSettingsTest, FirstRunHasEveryDefaultAndStoresTheExactDefaultFile) {
    TempFolder dir;
    COrvelSettings s("/opt/halvo");
    EXPECT_EQ(s.m_exeDir, kExeDir);
    EXPECT_EQ(s.m_cfgPath, "/opt/halvo/Orvel.cfg");
    const std::string reference = HALVO_AREA_DATA_DIR "/orvel-default.hex";
    EXPECT_EQ(ReferenceMismatch(HexLines(s.StoreToBytes()), reference), "");
    s = NonDefault();
    s.m_drawWidth = 640;
    EXPECT_EQ(s.LoadSaveConfig(dir.Path() + "Orvel.cfg", COrvelSettings::kLoad), 0);
    EXPECT_EQ(s.m_availMin, 300.0);
    EXPECT_EQ(s.m_availMax, 1100.0);
    EXPECT_EQ(s.m_drawWidth, 640);  // not a stored setting
    EXPECT_EQ(s.LoadSaveConfig(dir.Path() + "Orvel.cfg", COrvelSettings::kStore), 1);
    EXPECT_EQ(ReferenceMismatch(HexLines(ReadFileBytes(dir.Path() + "Orvel.cfg")), reference), "");
}

TEST(OrvelSettingsTest, OtherFormatWordsKeepEveryDefault) {
    const std::string good = NonDefault().StoreToBytes();
    const std::string defaults = COrvelSettings(kExeDir).StoreToBytes();
    for (uint32_t format : {199u, 201u, 0u, 0xC8000000u}) {
        SCOPED_TRACE(format);
        std::string bytes = good;
        for (int i = 0; i < 4; ++i) {
            bytes[i] = static_cast<char>((format >> (8 * i)) & 0xFF);
        }
        COrvelSettings s(kExeDir);
        EXPECT_EQ(Load(s, bytes), 0);
        EXPECT_EQ(s.StoreToBytes(), defaults);
    }
}

TEST(OrvelSettingsTest, EveryFieldSurvivesAStoreAndLoad) {
    TempFolder dir;
    COrvelSettings written = NonDefault();
    written.LoadSaveConfig(dir.Path() + "Orvel.cfg", COrvelSettings::kStore);

    COrvelSettings read(kExeDir);
    const COrvelSettings defaults(kExeDir);
    EXPECT_EQ(read.LoadSaveConfig(dir.Path() + "Orvel.cfg", COrvelSettings::kLoad), 1);
    for (const Field& f : Fields()) {
        EXPECT_TRUE(f.same(read, written)) << f.name;
        EXPECT_FALSE(f.same(read, defaults)) << f.name << " must differ from its default";
    }
    EXPECT_EQ(read.StoreToBytes(), ReadFileBytes(dir.Path() + "Orvel.cfg"));
}

TEST(OrvelSettingsTest, WideCharacterTitleIsReadAsUtf8) {
    const std::string defaults = COrvelSettings(kExeDir).StoreToBytes();
    // "Graph Title" (bytes 32 to 43) replaced by the wide form of "測定 A"
    const std::string wide("\xFF\xFE\xFF\x04\x2C\x6E\x9A\x5B\x20\x00\x41\x00", 12);
    const std::string bytes = defaults.substr(0, 32) + wide + defaults.substr(44);
    COrvelSettings s(kExeDir);
    EXPECT_EQ(Load(s, bytes), 1);
    EXPECT_EQ(s.m_graphTitle, "測定 A");
    EXPECT_EQ(s.m_dataMemo, "Data Memo");
    EXPECT_EQ(s.m_graphParam.color0, 255u);
}

// Cut at every length: each field that lies wholly before the cut is read, every other field
// keeps its default, and nothing reads past the end.
TEST(OrvelSettingsTest, TruncatedFileKeepsDefaultsFromTheCutOn) {
    const COrvelSettings written = NonDefault();
    const std::string full = written.StoreToBytes();
    const std::vector<size_t> ends = FieldEnds(written);
    ASSERT_EQ(ends.back(), full.size());
    const COrvelSettings defaults(kExeDir);
    COrvelSettings s(kExeDir);
    for (size_t cut = 0; cut <= full.size(); ++cut) {
        SCOPED_TRACE(cut);
        const std::vector<uint8_t> prefix(full.begin(), full.begin() + cut);
        EXPECT_EQ(s.LoadFromBytes(prefix.data(), prefix.size()), cut == full.size() ? 1 : 0);
        for (size_t i = 0; i < Fields().size(); ++i) {
            const Field& f = Fields()[i];
            EXPECT_TRUE(f.same(s, ends[i] <= cut ? written : defaults)) << f.name;
        }
    }
}

// Out of range values are clamped to the nearest valid one; a NaN or infinite position or
// graph bound falls back to its default (a damaged file must not leave the plot with an
// infinite axis).
TEST(OrvelSettingsTest, ValuesOutOfRangeAreClampedOnReading) {
    using Limits64 = std::numeric_limits<int64_t>;
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    constexpr double inf = std::numeric_limits<double>::infinity();
    const struct {
        const char* name;
        void (*store)(COrvelSettings&);
        double (*read)(const COrvelSettings&);
        double expected;
    } cases[] = {
#define CLAMP(m, stored, expected)                            \
    {#m " " #stored, [](COrvelSettings& s) { s.m = stored; }, \
     [](const COrvelSettings& s) { return static_cast<double>(s.m); }, expected}
        CLAMP(m_exposureIndex, -1, 0),
        CLAMP(m_exposureIndex, 9, 8),
        CLAMP(m_exposureIndex, 8, 8),
        CLAMP(m_intervalPeriod, 0, 60),
        CLAMP(m_intervalPeriod, Limits64::min(), 60),
        CLAMP(m_intervalPeriod, 59, 60),
        CLAMP(m_intervalPeriod, Limits64::max(), 9999 * 60),
        CLAMP(m_intervalStart, -1, 0),
        CLAMP(m_intervalStart, 86400, 86399),
        CLAMP(m_intervalEnd, Limits64::max(), 86399),
        CLAMP(m_intervalEnd, 86399, 86399),
        CLAMP(m_longitude, 200.0, 180.0),
        CLAMP(m_longitude, nan, 135.0),
        CLAMP(m_latitude, -91.0, -90.0),
        CLAMP(m_edgeAngle, inf, 90.0),
        CLAMP(m_edgeAngle, -1.0, 0.0),
        CLAMP(m_graphParam.xMin, -inf, 300.0),
        CLAMP(m_graphParam.xMax, nan, 1100.0),
        CLAMP(m_graphParam.yMaxLin, nan, 32000.0),
        CLAMP(m_graphParam.yMinLin, inf, 0.0),
        CLAMP(m_graphParam.yMaxLog, inf, 4.0),
        CLAMP(m_graphParam.yMinLog, -inf, 0.0),
#undef CLAMP
    };
    for (const auto& c : cases) {
        COrvelSettings written(kExeDir);
        c.store(written);
        COrvelSettings read(kExeDir);
        EXPECT_EQ(Load(read, written.StoreToBytes()), 1) << c.name;
        EXPECT_EQ(c.read(read), c.expected) << c.name;
    }
}

// A folder or a pipe in place of the file keeps every default; a short file gives what it holds
// (the edge angle ends at byte 32) and the defaults after it.
TEST(OrvelSettingsTest, UnreadableOrShortFilesKeepTheDefaults) {
    TempFolder dir;
    fs::create_directory(dir.Path() + "Orvel.cfg");
    ASSERT_EQ(::mkfifo((dir.Path() + "fifo.cfg").c_str(), 0600), 0);
    WriteFileBytes(dir.Path() + "short.cfg", NonDefault().StoreToBytes().substr(0, 40));
    for (const char* name : {"Orvel.cfg", "fifo.cfg", "short.cfg"}) {
        SCOPED_TRACE(name);
        COrvelSettings s = NonDefault();
        EXPECT_EQ(s.LoadSaveConfig(dir.Path() + name, COrvelSettings::kLoad), 0);
        EXPECT_EQ(s.m_edgeAngle, name[0] == 's' ? 12.5 : 10.0);
        EXPECT_EQ(s.m_graphTitle, "Graph Title");
    }
}

// The file is replaced whole with its permissions kept and no temporary left; a link is
// followed to the file it names; a missing folder is not created.
TEST(OrvelSettingsTest, StoreReplacesTheFileOrTheLinkedFileAndSkipsAMissingFolder) {
    TempFolder dir;
    WriteFileBytes(dir.Path() + "Orvel.cfg", std::string(1000, 'x'));
    ::chmod((dir.Path() + "Orvel.cfg").c_str(), 0640);
    COrvelSettings s = NonDefault();
    EXPECT_EQ(s.LoadSaveConfig(dir.Path() + "Orvel.cfg", COrvelSettings::kStore), 1);
    EXPECT_EQ(ReadFileBytes(dir.Path() + "Orvel.cfg"), s.StoreToBytes());
    EXPECT_EQ(fs::status(dir.Path() + "Orvel.cfg").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 1);

    fs::rename(dir.Path() + "Orvel.cfg", dir.Path() + "real.cfg");
    fs::create_symlink(dir.Path() + "real.cfg", dir.Path() + "Orvel.cfg");
    COrvelSettings defaults(kExeDir);
    defaults.LoadSaveConfig(dir.Path() + "Orvel.cfg", COrvelSettings::kStore);
    EXPECT_TRUE(fs::is_symlink(dir.Path() + "Orvel.cfg"));
    EXPECT_EQ(ReadFileBytes(dir.Path() + "real.cfg"), defaults.StoreToBytes());

    EXPECT_EQ(s.LoadSaveConfig(dir.Path() + "absent/Orvel.cfg", COrvelSettings::kStore), 1);
    EXPECT_FALSE(fs::exists(dir.Path() + "absent"));
}

}  // namespace
