// The document settings: defaults, the "Orvel.cfg" bytes, short and damaged files, clamping.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <iterator>
#include <limits>
#include <string>
#include <tuple>
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

// Every stored field with a value other than its default, inside the valid ranges; the memo
// needs the 2-byte length form, the title is Japanese.
COrvelSettings NonDefault() {
    COrvelSettings s(kExeDir);
    s.m_comPort = 7;
    std::tie(s.m_longitude, s.m_latitude, s.m_edgeAngle) = std::tuple{-122.25, 47.5, 12.5};
    s.m_graphTitle = "日射スペクトル";
    s.m_dataMemo = std::string(300, 'M');
    std::tie(s.m_intervalStart, s.m_intervalEnd, s.m_intervalPeriod) =
        std::tuple{18000, 72000, 300};
    s.m_exposureIndex = 5;
    std::tie(s.m_dataFolder, s.m_intervalFile, s.m_saveFile, s.m_csvFile) = std::tuple{
        "/data/halvo/", "/data/halvo/site.wsx", "/home/user/save.wsx", "/home/user/counts.csv"};
    std::tie(s.m_autoFileName, s.m_autoStart) = std::tuple{0, 1};
    GRAPHPARAM& g = s.m_graphParam;
    std::tie(g.xMin, g.yMaxLin, g.xMax, g.yMinLin, g.yMaxLog, g.yMinLog) =
        std::tuple{350.0, 20000.0, 1000.0, -5.0, 3.0, -2.0};
    std::tie(g.logScale, g.autoScale, g.marker, g.grid, g.unit, g.color0) =
        std::tuple{1, 0, 1, 0, 1, 0x00FF8000u};
    return s;
}

// The end of the format word and the offset just past each field of a settings file, from the sizes
// of the fields in file order (0: a string, whose length prefix is read from the bytes).
std::vector<size_t> FieldEnds(const std::string& bytes) {
    constexpr size_t kSizes[] = {4, 8, 8, 8, 0, 0, 8, 8, 8, 4, 0, 0, 0, 0,
                                 4, 4, 8, 8, 8, 8, 8, 8, 4, 4, 4, 4, 4, 4};
    std::vector<size_t> ends = {4};
    size_t pos = 4;
    for (const size_t size : kSizes) {
        const auto byte = [&](size_t k) { return size_t{static_cast<uint8_t>(bytes.at(pos + k))}; };
        pos += size != 0 ? size : byte(0) < 255 ? 1 + byte(0) : 3 + (byte(1) | byte(2) << 8);
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
    EXPECT_EQ(s.LoadSaveConfig(dir.Path() + "Orvel.cfg", COrvelSettings::kLoad), 1);
}

// Every field of the file differs from its default. Cut at every length: each field that lies
// wholly before the cut is read, every other field keeps its default, and nothing reads past
// the end; the whole file is read back as it was.
TEST(OrvelSettingsTest, TruncatedFileKeepsDefaultsFromTheCutOn) {
    const std::string full = NonDefault().StoreToBytes();
    const std::string defaults = COrvelSettings(kExeDir).StoreToBytes();
    const std::vector<size_t> ends = FieldEnds(full);
    const std::vector<size_t> defaultEnds = FieldEnds(defaults);
    ASSERT_EQ(ends.back(), full.size());
    for (size_t i = 1; i < ends.size(); ++i) {
        EXPECT_NE(full.substr(ends[i - 1], ends[i] - ends[i - 1]),
                  defaults.substr(defaultEnds[i - 1], defaultEnds[i] - defaultEnds[i - 1]))
            << "field " << i;
    }
    COrvelSettings s(kExeDir);
    for (size_t cut = 0, read = 0; cut <= full.size(); ++cut) {
        while (read + 1 < ends.size() && ends[read + 1] <= cut) {
            ++read;  // fields wholly before the cut
        }
        const std::vector<uint8_t> prefix(full.begin(), full.begin() + cut);
        EXPECT_EQ(s.LoadFromBytes(prefix.data(), prefix.size()), cut == full.size() ? 1 : 0);
        EXPECT_EQ(s.StoreToBytes(), full.substr(0, ends[read]) + defaults.substr(defaultEnds[read]))
            << "cut at " << cut;
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

// A folder or a pipe in place of the file, or another format word, keeps every default; a
// short file gives what it holds (the edge angle ends at byte 32) and the defaults after it.
TEST(OrvelSettingsTest, UnreadableShortOrForeignFilesKeepTheDefaults) {
    TempFolder dir;
    const std::string good = NonDefault().StoreToBytes();
    const std::string defaults = COrvelSettings(kExeDir).StoreToBytes();
    fs::create_directory(dir.Path() + "Orvel.cfg");
    ASSERT_EQ(::mkfifo((dir.Path() + "fifo.cfg").c_str(), 0600), 0);
    WriteFileBytes(dir.Path() + "short.cfg", good.substr(0, 40));
    std::vector<std::string> names = {"Orvel.cfg", "fifo.cfg", "short.cfg"};
    for (const uint32_t format : {199u, 201u, 0u, 0xC8000000u}) {
        names.push_back(std::to_string(format) + ".cfg");
        WriteFileBytes(dir.Path() + names.back(),
                       std::string(reinterpret_cast<const char*>(&format), 4) + good.substr(4));
    }
    for (const std::string& name : names) {
        COrvelSettings s = NonDefault();
        EXPECT_EQ(s.LoadSaveConfig(dir.Path() + name, COrvelSettings::kLoad), 0) << name;
        EXPECT_EQ(s.StoreToBytes(),
                  name == "short.cfg" ? good.substr(0, 32) + defaults.substr(32) : defaults)
            << name;
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
