// halvo-wsx against files written by the data core and over a simulated day: outputs, series,
// components, torn files, export refusals and exit codes.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "data/CountCsv.h"
#include "data/QuantityWeights.h"
#include "data/RecordComponents.h"
#include "tests/support/SimulatedDay.h"
#include "tests/support/TestRecords.h"
#include "tests/tools/WsxRun.h"

namespace {

constexpr int kRecords = 79;  // 06:00 to 19:00 every 10 minutes

// Three records written by the data core in day.wsx; a simulated day in two files, given
// afternoon first: the morning's up to noon (record 36), the afternoon's with noon again last.
class WsxTool : public WsxRun {
protected:
    void SetUp() override {
        FillSampleSet(data, 3);
        ASSERT_EQ(data.SaveFile(path.c_str()), 1);
        FillSimulatedDay(morning, kSixInTokyo, 37, 600, 135.0, 35.0);
        CRadData afternoon;
        FillSimulatedDay(afternoon, kSixInTokyo + 37 * 600, kRecords - 37, 600, 135.0, 35.0);
        afternoon.AddData(*morning.GetRecord(36));
        ASSERT_EQ(morning.SaveFile((folder + "am.wsx").c_str()), 1);
        ASSERT_EQ(afternoon.SaveFile((folder + "pm.wsx").c_str()), 1);
    }
    CRadData data;
    std::string path = folder + "day.wsx";
    CRadData morning;
};

}  // namespace

// info: the header, the record count, the trailing bytes and a line per record; text: the
// daily text file's blocks, all or one; csv: the count export, of the last record unless one
// is chosen; quantities: a row per record and position. Stray bytes after the last record
// change none of them but info's count.
TEST_F(WsxTool, InfoTextCsvAndQuantitiesOfAFileWithStrayBytesAtItsEnd) {
    WriteFileBytes(path, ReadFileBytes(path) + "xyz");
    std::string lastCsv, firstCsv;
    ASSERT_TRUE(BuildCountCsv(data, 2, lastCsv) && BuildCountCsv(data, 0, firstCsv));
    const struct {
        std::vector<std::string> args;
        std::string expected;
    } cases[] = {
        {{"info", path}, "file: " + path + "\n" + ReadFileBytes(HALVO_AREA_DATA_DIR "/info.txt")},
        {{"text", path}, DailyTextOf(data, 3)},
        {{"text", path, "--record", "1"}, DailyTextOf(data, 2).substr(DailyTextOf(data, 1).size())},
        {{"csv", path}, lastCsv},
        {{"csv", path, "--record", "0"}, firstCsv},
        {{"quantities", path}, ReadFileBytes(HALVO_AREA_DATA_DIR "/quantities.csv")}};
    for (const auto& c : cases) {
        ASSERT_EQ(Run(c.args), 0) << c.args.size();
        EXPECT_EQ(out.str(), c.expected) << c.args.size();
        EXPECT_NE(err.str().find("torn record; read up to its last whole record (3), 3 bytes"),
                  std::string::npos);
    }
}

// The rows of both files in time order, the noon record once, its global PAR the page's PAR of
// position 0 to full precision; then the morning file torn by stray bytes at its end, in UTC.
TEST_F(WsxTool, SeriesIsOneRowPerRecordInTimeOrderAgreeingWithThePage) {
    ASSERT_EQ(Run({"series", folder + "pm.wsx", folder + "am.wsx"}), 0) << err.str();
    EXPECT_EQ(ReferenceMismatch(out.str(), HALVO_AREA_DATA_DIR "/series.csv"), "");
    morning.Select(36, 0);
    const std::vector<std::string> noon = SplitFields(SplitLines(out.str())[37], ',');
    EXPECT_NEAR(std::strtod(noon[8].c_str(), nullptr), morning.GetPAR(), 1e-6) << noon[0];

    const std::string torn = folder + "am.wsx";
    WriteFileBytes(torn, ReadFileBytes(torn) + std::string(1000, 'x'));
    ASSERT_EQ(Run({"series", "--utc", torn}), 0);
    EXPECT_EQ(SplitLines(out.str()).size(), 1u + 37);
    EXPECT_EQ(SplitFields(SplitLines(out.str())[1], ',')[0], "2024-06-20T21:00:00Z");
    EXPECT_NE(err.str().find("torn record; read up to its last whole record (37), 1000 bytes"),
              std::string::npos);
}

TEST_F(WsxTool, ComponentsListEveryPixelOfTheRecord) {
    ASSERT_EQ(Run({"components", folder + "am.wsx", "--record", "36"}), 0) << err.str();
    const std::vector<std::string> lines = SplitLines(out.str());
    ASSERT_EQ(lines.size(), 1u + kPixelCount);
    const CQuantityWeights weights(morning);
    auto c = std::make_unique<CRecordComponents>();
    c->Compute(morning, weights, *morning.GetRecord(36), true);
    for (int pixel : {0, 600, 2047}) {
        const std::vector<std::string> f = SplitFields(lines[1 + pixel], ',');
        ASSERT_EQ(f.size(), 5u);
        EXPECT_FLOAT_EQ(std::strtof(f[0].c_str(), nullptr), morning.m_wavelength[pixel]);
        for (int comp = 0; comp < CRecordComponents::kComponentCount; ++comp) {
            EXPECT_NEAR(std::strtod(f[1 + comp].c_str(), nullptr), c->m_spectrum[comp][pixel],
                        1e-7 * std::fabs(c->m_spectrum[comp][pixel]) + 1e-9);
        }
    }
}

// Exit codes and error lines; export refuses files of another set-up, naming the first.
TEST_F(WsxTool, ErrorsHaveDistinctExitCodesAndOneLineEach) {
    CRadData moved;
    FillSimulatedDay(moved, kSixInTokyo, 1, 600, 135.0, 36.0);
    ASSERT_EQ(moved.SaveFile((folder + "moved.wsx").c_str()), 1);
    WriteFileBytes(folder + "foreign.txt", "hello world, not data");
    const std::string nc = folder + "out.nc";
    const struct {
        std::vector<std::string> args;
        int code;
    } cases[] = {
        {{}, CWsxTool::kUsage},
        {{"frobnicate", path}, CWsxTool::kUsage},
        {{"text"}, CWsxTool::kUsage},
        {{"text", path, "--record", "x"}, CWsxTool::kUsage},
        {{"info", path, "--record", "1"}, CWsxTool::kUsage},
        {{"export", folder + "am.wsx"}, CWsxTool::kUsage},
        {{"export", "--netcdf", nc}, CWsxTool::kUsage},
        {{"series", folder + "am.wsx", "--bogus"}, CWsxTool::kUsage},
        {{"info", folder + "absent.wsx"}, CWsxTool::kMissingFile},
        {{"series", folder + "am.wsx", folder + "absent.wsx"}, CWsxTool::kMissingFile},
        {{"export", folder + "none.wsx", "--netcdf", nc}, CWsxTool::kMissingFile},
        {{"export", folder + "am.wsx", "--netcdf", folder + "no/such/dir/x.nc"},
         CWsxTool::kMissingFile},
        {{"info", folder + "foreign.txt"}, CWsxTool::kNotDataFile},
        {{"text", path, "--record", "3"}, CWsxTool::kNoSuchRecord},
        {{"csv", path, "--record", "7"}, CWsxTool::kNoSuchRecord},
        {{"components", folder + "am.wsx", "--record", "37"}, CWsxTool::kNoSuchRecord},
        {{"csv", "--help"}, CWsxTool::kOk},
        {{"export", folder + "am.wsx", folder + "pm.wsx", folder + "moved.wsx", "--netcdf", nc},
         CWsxTool::kUsage},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.empty() ? "(none)" : c.args.back());
        EXPECT_EQ(Run(c.args), c.code);
        // One line says what is wrong; without a verb, or with an unknown one, the usage follows.
        const bool usage = c.args.empty() || c.args[0] == "frobnicate";
        EXPECT_EQ(Occurrences(err.str(), "\n") == 1, !usage && c.code != CWsxTool::kOk)
            << err.str();
        EXPECT_EQ(err.str().find("usage: halvo-wsx") != std::string::npos, usage);
        EXPECT_EQ(out.str().rfind("usage: halvo-wsx", 0) == 0, c.code == CWsxTool::kOk);
        EXPECT_FALSE(std::filesystem::exists(nc));
    }
    // The last case names the file with the other site.
    EXPECT_NE(err.str().find("'" + folder + "moved.wsx' has another site"), std::string::npos);
}
