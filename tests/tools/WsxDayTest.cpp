// halvo-wsx over a simulated day: series, components and export refusals, torn files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <sstream>

#include "data/QuantityWeights.h"
#include "data/RecordComponents.h"
#include "tests/support/SimulatedDay.h"
#include "tests/support/TestRecords.h"
#include "tests/tools/WsxRun.h"

namespace {

constexpr int64_t kSixInTokyo = 1718917200;  // 2024-06-21 06:00 local
constexpr int kRecords = 79;                 // 06:00 to 19:00 every 10 minutes

std::vector<std::string> Split(const std::string& line, char separator) {
    std::vector<std::string> fields;
    std::stringstream in(line);
    for (std::string f; std::getline(in, f, separator);) {
        fields.push_back(f);
    }
    if (!line.empty() && line.back() == separator) {
        fields.emplace_back();
    }
    return fields;
}

long LineCount(const std::string& text) {
    return std::count(text.begin(), text.end(), '\n');
}

class WsxDay : public WsxRun {
protected:
    void SetUp() override {
        FillSimulatedDay(day, kSixInTokyo, kRecords, 600, 135.0, 35.0);
        // The afternoon in one file, the morning and noon in another: given in that order, with
        // the noon record in both.
        morning.CopyHeader(day);
        afternoon.CopyHeader(day);
        for (int k = 0; k < kRecords; ++k) {
            (k <= 36 ? morning : afternoon).AddData(*day.GetRecord(k));
        }
        afternoon.AddData(*day.GetRecord(36));
        ASSERT_EQ(morning.SaveFile((folder + "/am.wsx").c_str()), 1);
        ASSERT_EQ(afternoon.SaveFile((folder + "/pm.wsx").c_str()), 1);
    }
    CRadData day;
    CRadData morning;
    CRadData afternoon;
};

}  // namespace

TEST_F(WsxDay, SeriesIsOneRowPerRecordInTimeOrderAgreeingWithThePage) {
    ASSERT_EQ(Run({"series", folder + "/pm.wsx", folder + "/am.wsx"}), 0) << err.str();
    const std::vector<std::string> lines = SplitLines(out.str());
    ASSERT_EQ(lines.size(), 1u + kRecords);
    const std::vector<std::string> head = Split(lines[0], ',');
    ASSERT_EQ(head.size(), 25u);
    EXPECT_EQ(head[8], "PAR_global[W/m2]");
    EXPECT_EQ(head[24], "flags");
    EXPECT_EQ(Split(lines[1], ',')[0], "2024-06-21T06:00:00+09:00");
    EXPECT_EQ(Split(lines[kRecords], ',')[0], "2024-06-21T19:00:00+09:00");
    for (size_t k = 2; k < lines.size(); ++k) {
        EXPECT_LT(Split(lines[k - 1], ',')[0], Split(lines[k], ',')[0]) << k;
    }
    // The noon record's global PAR is the page's PAR of position 0, to full precision.
    day.Select(36, 0);
    const std::vector<std::string> noon = Split(lines[37], ',');
    EXPECT_EQ(noon[0], "2024-06-21T12:00:00+09:00");
    EXPECT_NEAR(std::strtod(noon[8].c_str(), nullptr), day.GetPAR(), 1e-6);
    EXPECT_EQ(noon[24], "0");

    ASSERT_EQ(Run({"series", "--utc", folder + "/am.wsx"}), 0);
    EXPECT_EQ(Split(SplitLines(out.str())[1], ',')[0], "2024-06-20T21:00:00Z");
}

TEST_F(WsxDay, ComponentsListEveryPixelOfTheRecord) {
    ASSERT_EQ(Run({"components", folder + "/am.wsx", "--record", "36"}), 0) << err.str();
    const std::vector<std::string> lines = SplitLines(out.str());
    ASSERT_EQ(lines.size(), 1u + kPixelCount);
    const CQuantityWeights weights(day);
    auto c = std::make_unique<CRecordComponents>();
    c->Compute(day, weights, *day.GetRecord(36), true);
    for (int pixel : {0, 600, 2047}) {
        const std::vector<std::string> f = Split(lines[1 + pixel], ',');
        ASSERT_EQ(f.size(), 5u);
        EXPECT_FLOAT_EQ(std::strtof(f[0].c_str(), nullptr), day.m_wavelength[pixel]);
        for (int comp = 0; comp < CRecordComponents::kComponentCount; ++comp) {
            EXPECT_NEAR(std::strtod(f[1 + comp].c_str(), nullptr), c->m_spectrum[comp][pixel],
                        1e-7 * std::fabs(c->m_spectrum[comp][pixel]) + 1e-9);
        }
    }
    EXPECT_EQ(Run({"components", folder + "/am.wsx", "--record", "37"}), CWsxTool::kNoSuchRecord);
}

TEST_F(WsxDay, ATornFileIsReadToItsLastWholeRecordAndSaysSo) {
    const std::string path = folder + "/am.wsx";
    WriteFileBytes(path, ReadFileBytes(path) + std::string(1000, 'x'));
    ASSERT_EQ(Run({"series", path}), 0);
    EXPECT_EQ(SplitLines(out.str()).size(), 1u + 37);
    EXPECT_NE(err.str().find("torn record"), std::string::npos);
    EXPECT_NE(err.str().find("1000 bytes"), std::string::npos);
}

TEST_F(WsxDay, ExportRefusesFilesOfAnotherSetUpNamingTheFirst) {
    CRadData moved;
    moved.CopyHeader(day);
    moved.m_latitude = 36.0;
    moved.AddData(*day.GetRecord(0));
    ASSERT_EQ(moved.SaveFile((folder + "/moved.wsx").c_str()), 1);
    const std::string nc = folder + "/out.nc";
    EXPECT_EQ(Run({"export", folder + "/am.wsx", folder + "/pm.wsx", folder + "/moved.wsx",
                   "--netcdf", nc}),
              CWsxTool::kUsage);
    EXPECT_NE(err.str().find("'" + folder + "/moved.wsx' has another site"), std::string::npos);
    EXPECT_EQ(LineCount(err.str()), 1);
    EXPECT_FALSE(std::filesystem::exists(nc));

    const struct {
        std::vector<std::string> args;
        int code;
    } cases[] = {
        {{"export", folder + "/am.wsx"}, CWsxTool::kUsage},
        {{"export", "--netcdf", nc}, CWsxTool::kUsage},
        {{"series", folder + "/am.wsx", "--bogus"}, CWsxTool::kUsage},
        {{"series", folder + "/am.wsx", folder + "/absent.wsx"}, CWsxTool::kMissingFile},
        {{"export", folder + "/none.wsx", "--netcdf", nc}, CWsxTool::kMissingFile},
        {{"export", folder + "/am.wsx", "--netcdf", folder + "/no/such/dir/x.nc"},
         CWsxTool::kMissingFile},
    };
    for (const auto& k : cases) {
        EXPECT_EQ(Run(k.args), k.code) << k.args.back();
        EXPECT_EQ(LineCount(err.str()), 1) << err.str();
    }
}
