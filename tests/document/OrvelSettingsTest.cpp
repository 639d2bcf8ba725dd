// The document settings: defaults, the "Orvel.cfg" bytes, short and damaged files, clamping.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <iterator>
#include <limits>
#include <string>
#include <type_traits>
#include <vector>

#include "data/FilePaths.h"
#include "document/OrvelSettings.h"
#include "tests/support/TestFiles.h"

namespace fs = std::filesystem;

namespace {

const char* const kExeDir = "/opt/halvo/";

// The whole default file for kExeDir, worked out by hand from the field layout.
const char* const kDefaultFileHex =
    "c8000000ffffffff0000000000e0604000000000008041400000000000002440"
    "0b4772617068205469746c650944617461204d656d6f6054000000000000300b"
    "0100000000005802000000000000000000000b2f6f70742f68616c766f2f152f"
    "6f70742f68616c766f2f4e6f4e616d652e777378152f6f70742f68616c766f2f"
    "4e6f4e616d652e777378152f6f70742f68616c766f2f4e6f4e616d652e637376"
    "01000000000000000000000000c07240000000000040df400000000000309140"
    "0000000000000000000000000000104000000000000000000000000001000000"
    "000000000100000000000000ff000000";

std::string FromHex(const char* hex) {
    std::string out;
    for (size_t i = 0; hex[i] != '\0' && hex[i + 1] != '\0'; i += 2) {
        out.push_back(static_cast<char>(std::stoi(std::string(hex + i, 2), nullptr, 16)));
    }
    return out;
}

int Load(COrvelSettings& s, const std::string& bytes) {
    return s.LoadFromBytes(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

// Every stored field with a value other than its default, inside the valid ranges; the memo
// needs the 2-byte length form, the title is Japanese.
void SetNonDefault(COrvelSettings& s) {
    s.m_comPort = 7;
    s.m_longitude = -122.25;
    s.m_latitude = 47.5;
    s.m_edgeAngle = 12.5;
    s.m_graphTitle = "日射スペクトル";
    s.m_dataMemo = std::string(300, 'M');
    s.m_intervalStart = 18000;
    s.m_intervalEnd = 72000;
    s.m_intervalPeriod = 300;
    s.m_exposureIndex = 5;
    s.m_dataFolder = "/data/halvo/";
    s.m_intervalFile = "/data/halvo/site.wsx";
    s.m_saveFile = "/home/user/save.wsx";
    s.m_csvFile = "/home/user/counts.csv";
    s.m_autoFileName = 0;
    s.m_autoStart = 1;
    s.m_graphParam = {350.0, 20000.0, 1000.0, -5.0, 3.0, -2.0, 1, 0, 1, 0, 1, 0x00FF8000};
}

// One stored field: its encoded size (0: a string, sized from its value) and a comparison.
struct Field {
    const char* name;
    size_t size;
    std::string COrvelSettings::*text;
    bool (*same)(const COrvelSettings&, const COrvelSettings&);
};

#define SAME(m) [](const COrvelSettings& a, const COrvelSettings& b) { return a.m == b.m; }
#define NUMBER(m, n)            \
    Field {                     \
#m, n, nullptr, SAME(m) \
    }
#define TEXT(m)                            \
    Field {                                \
#m, 0, &COrvelSettings::m, SAME(m) \
    }

const std::vector<Field>& Fields() {
    static const std::vector<Field> fields = {NUMBER(m_comPort, 4),
                                              NUMBER(m_longitude, 8),
                                              NUMBER(m_latitude, 8),
                                              NUMBER(m_edgeAngle, 8),
                                              TEXT(m_graphTitle),
                                              TEXT(m_dataMemo),
                                              NUMBER(m_intervalStart, 8),
                                              NUMBER(m_intervalEnd, 8),
                                              NUMBER(m_intervalPeriod, 8),
                                              NUMBER(m_exposureIndex, 4),
                                              TEXT(m_dataFolder),
                                              TEXT(m_intervalFile),
                                              TEXT(m_saveFile),
                                              TEXT(m_csvFile),
                                              NUMBER(m_autoFileName, 4),
                                              NUMBER(m_autoStart, 4),
                                              NUMBER(m_graphParam.xMin, 8),
                                              NUMBER(m_graphParam.yMaxLin, 8),
                                              NUMBER(m_graphParam.xMax, 8),
                                              NUMBER(m_graphParam.yMinLin, 8),
                                              NUMBER(m_graphParam.yMaxLog, 8),
                                              NUMBER(m_graphParam.yMinLog, 8),
                                              NUMBER(m_graphParam.logScale, 4),
                                              NUMBER(m_graphParam.autoScale, 4),
                                              NUMBER(m_graphParam.marker, 4),
                                              NUMBER(m_graphParam.grid, 4),
                                              NUMBER(m_graphParam.unit, 4),
                                              NUMBER(m_graphParam.color0, 4)};
    return fields;
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

// Stores value in one field, reads the bytes back and returns what the field holds then.
template <class T>
T ReadBack(T COrvelSettings::*field, std::type_identity_t<T> value) {
    COrvelSettings written(kExeDir);
    written.*field = value;
    COrvelSettings read(kExeDir);
    EXPECT_EQ(Load(read, written.StoreToBytes()), 1);
    return read.*field;
}
double ReadBack(double GRAPHPARAM::*field, double value) {
    COrvelSettings written(kExeDir);
    written.m_graphParam.*field = value;
    COrvelSettings read(kExeDir);
    EXPECT_EQ(Load(read, written.StoreToBytes()), 1);
    return read.m_graphParam.*field;
}

// A first run, with no file, and a load after other values were set give the same defaults;
// the file they make is byte-exact.
TEST(OrvelSettingsTest, FirstRunHasEveryDefaultAndStoresTheExactDefaultFile) {
    TempFolder dir;
    COrvelSettings s("/opt/halvo");
    EXPECT_EQ(s.m_exeDir, kExeDir);
    EXPECT_EQ(s.m_cfgPath, "/opt/halvo/Orvel.cfg");
    EXPECT_EQ(s.StoreToBytes(), FromHex(kDefaultFileHex));
    SetNonDefault(s);
    s.m_drawWidth = 640;
    EXPECT_EQ(s.LoadSaveConfig(dir.Path() + "Orvel.cfg", COrvelSettings::kLoad), 0);
    EXPECT_EQ(s.m_availMin, 300.0);
    EXPECT_EQ(s.m_availMax, 1100.0);
    EXPECT_EQ(s.m_drawWidth, 640);  // not a stored setting
    EXPECT_EQ(s.LoadSaveConfig(dir.Path() + "Orvel.cfg", COrvelSettings::kStore), 1);
    EXPECT_EQ(ReadFileBytes(dir.Path() + "Orvel.cfg"), FromHex(kDefaultFileHex));
}

TEST(OrvelSettingsTest, ExecutableFolderIsTheFolderOfTheRunningProgram) {
    const std::string folder = ExecutableFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(folder.back(), '/');
    EXPECT_TRUE(fs::equivalent(folder, HALVO_BIN_DIR));
}

// The memo's length takes one byte up to 254 and 0xFF + 2 bytes from 255; the 06:00 start
// follows it as 60 54 00 00 00 00 00 00.
TEST(OrvelSettingsTest, MemoLengthPrefixGrowsAt255CharactersAndSixOClockFollows) {
    const struct {
        size_t length;
        std::string prefix;
    } cases[] = {{9, "\x09"}, {254, "\xFE"}, {255, std::string("\xFF\xFF\x00", 3)}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.length);
        COrvelSettings s(kExeDir);
        s.m_dataMemo = std::string(c.length, 'm');
        const std::string bytes = s.StoreToBytes();
        EXPECT_EQ(bytes.substr(44, c.prefix.size() + 1), c.prefix + "m");
        EXPECT_EQ(bytes.substr(44 + c.prefix.size() + c.length, 8),
                  std::string("\x60\x54\0\0\0\0\0\0", 8));
        COrvelSettings back(kExeDir);
        EXPECT_EQ(Load(back, bytes), 1);
        EXPECT_EQ(back.m_dataMemo, s.m_dataMemo);
    }
}

TEST(OrvelSettingsTest, OtherFormatWordsKeepEveryDefault) {
    COrvelSettings written(kExeDir);
    SetNonDefault(written);
    const std::string good = written.StoreToBytes();
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
    COrvelSettings written(kExeDir);
    SetNonDefault(written);
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
    COrvelSettings written(kExeDir);
    SetNonDefault(written);
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

TEST(OrvelSettingsTest, TruncatedFileOnDiskLoadsWhatItHolds) {
    TempFolder dir;
    COrvelSettings written(kExeDir);
    SetNonDefault(written);
    WriteFileBytes(dir.Path() + "Orvel.cfg", written.StoreToBytes().substr(0, 40));
    COrvelSettings s(kExeDir);
    EXPECT_EQ(s.LoadSaveConfig(dir.Path() + "Orvel.cfg", COrvelSettings::kLoad), 0);
    EXPECT_EQ(s.m_edgeAngle, 12.5);
    EXPECT_EQ(s.m_graphTitle, "Graph Title");
}

// Out of range values are clamped to the nearest valid one; a NaN or infinite position or
// graph bound falls back to its default.
TEST(OrvelSettingsTest, ValuesOutOfRangeAreClampedOnReading) {
    using S = COrvelSettings;
    using Limits64 = std::numeric_limits<int64_t>;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(ReadBack(&S::m_exposureIndex, -1), 0);
    EXPECT_EQ(ReadBack(&S::m_exposureIndex, 9), 8);
    EXPECT_EQ(ReadBack(&S::m_exposureIndex, 8), 8);
    EXPECT_EQ(ReadBack(&S::m_intervalPeriod, 0), 60);
    EXPECT_EQ(ReadBack(&S::m_intervalPeriod, Limits64::min()), 60);
    EXPECT_EQ(ReadBack(&S::m_intervalPeriod, 59), 60);
    EXPECT_EQ(ReadBack(&S::m_intervalPeriod, Limits64::max()), 9999 * 60);
    EXPECT_EQ(ReadBack(&S::m_intervalStart, -1), 0);
    EXPECT_EQ(ReadBack(&S::m_intervalStart, 86400), 86399);
    EXPECT_EQ(ReadBack(&S::m_intervalEnd, Limits64::max()), 86399);
    EXPECT_EQ(ReadBack(&S::m_intervalEnd, 86399), 86399);
    EXPECT_EQ(ReadBack(&S::m_longitude, 200.0), 180.0);
    EXPECT_EQ(ReadBack(&S::m_longitude, nan), 135.0);
    EXPECT_EQ(ReadBack(&S::m_latitude, -91.0), -90.0);
    EXPECT_EQ(ReadBack(&S::m_edgeAngle, inf), 90.0);
    EXPECT_EQ(ReadBack(&S::m_edgeAngle, -1.0), 0.0);
    // Every graph bound: a damaged file must not leave the plot with an infinite axis.
    const struct {
        double GRAPHPARAM::*bound;
        double stored, read;
    } bounds[] = {{&GRAPHPARAM::xMin, -inf, 300.0},     {&GRAPHPARAM::xMax, nan, 1100.0},
                  {&GRAPHPARAM::yMaxLin, nan, 32000.0}, {&GRAPHPARAM::yMinLin, inf, 0.0},
                  {&GRAPHPARAM::yMaxLog, inf, 4.0},     {&GRAPHPARAM::yMinLog, -inf, 0.0}};
    for (const auto& b : bounds) {
        EXPECT_EQ(ReadBack(b.bound, b.stored), b.read) << b.read;
    }
}

TEST(OrvelSettingsTest, UnreadablePathsKeepTheDefaults) {
    TempFolder dir;
    fs::create_directory(dir.Path() + "Orvel.cfg");
    ASSERT_EQ(::mkfifo((dir.Path() + "fifo.cfg").c_str(), 0600), 0);
    for (const char* name : {"Orvel.cfg", "fifo.cfg"}) {
        COrvelSettings s(kExeDir);
        SetNonDefault(s);
        EXPECT_EQ(s.LoadSaveConfig(dir.Path() + name, COrvelSettings::kLoad), 0) << name;
        EXPECT_EQ(s.m_comPort, -1) << name;
    }
}

TEST(OrvelSettingsTest, StoreReplacesTheFileAndLeavesNoTemporaryBehind) {
    TempFolder dir;
    WriteFileBytes(dir.Path() + "Orvel.cfg", std::string(1000, 'x'));
    ::chmod((dir.Path() + "Orvel.cfg").c_str(), 0640);
    COrvelSettings s(kExeDir);
    SetNonDefault(s);
    EXPECT_EQ(s.LoadSaveConfig(dir.Path() + "Orvel.cfg", COrvelSettings::kStore), 1);
    EXPECT_EQ(ReadFileBytes(dir.Path() + "Orvel.cfg"), s.StoreToBytes());
    EXPECT_EQ(fs::status(dir.Path() + "Orvel.cfg").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.Path()), fs::directory_iterator()), 1);
}

TEST(OrvelSettingsTest, StoreThroughALinkReplacesTheLinkedFile) {
    TempFolder dir;
    WriteFileBytes(dir.Path() + "real.cfg", "old");
    fs::create_symlink(dir.Path() + "real.cfg", dir.Path() + "Orvel.cfg");
    COrvelSettings s(kExeDir);
    s.LoadSaveConfig(dir.Path() + "Orvel.cfg", COrvelSettings::kStore);
    EXPECT_TRUE(fs::is_symlink(dir.Path() + "Orvel.cfg"));
    EXPECT_EQ(ReadFileBytes(dir.Path() + "real.cfg"), s.StoreToBytes());
}

TEST(OrvelSettingsTest, StoreIntoAMissingFolderIsSkipped) {
    TempFolder dir;
    COrvelSettings s(kExeDir);
    EXPECT_EQ(s.LoadSaveConfig(dir.Path() + "absent/Orvel.cfg", COrvelSettings::kStore), 1);
    EXPECT_FALSE(fs::exists(dir.Path() + "absent"));
}

}  // namespace
