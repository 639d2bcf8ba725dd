// halvo-wsx against files written by the data core: outputs and exit codes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "data/CLocaleFormat.h"
#include "data/CountCsv.h"
#include "tests/support/TestRecords.h"
#include "tests/tools/WsxRun.h"

namespace {

class WsxTool : public WsxRun {
protected:
    void SetUp() override {
        FillSampleSet(data, 3);
        ASSERT_EQ(data.SaveFile(path.c_str()), 1);
    }
    CRadData data;
    std::string path = folder + "/day.wsx";
};

}  // namespace

TEST_F(WsxTool, InfoListsHeaderRecordsAndTrailingBytes) {
    WriteFileBytes(path, ReadFileBytes(path) + "xyz");
    ASSERT_EQ(Run({"info", path}), 0);
    const std::string text = out.str();
    EXPECT_NE(text.find("type: TYPE-A\n"), std::string::npos);
    EXPECT_NE(text.find("memo: roof, north mast\n"), std::string::npos);
    EXPECT_NE(text.find("records: 3\n"), std::string::npos);
    EXPECT_NE(text.find("trailing bytes: 3\n"), std::string::npos);
    EXPECT_NE(text.find("record 2: 2024/06/21 12:20:00 exposures 100 100 100 100\n"),
              std::string::npos);
}

// text: the daily text file's blocks, all or one; csv: the count export, of the last record
// unless one is chosen.
TEST_F(WsxTool, TextAndCsvAreTheDailyTextBlocksAndTheCountExport) {
    std::string lastCsv;
    std::string firstCsv;
    ASSERT_TRUE(BuildCountCsv(data, 2, lastCsv) && BuildCountCsv(data, 0, firstCsv));
    const std::string blocks = DailyTextOf(data, 3);
    const struct {
        std::vector<std::string> args;
        std::string expected;
    } cases[] = {
        {{"text", path}, blocks},
        {{"text", path, "--record", "1"}, DailyTextOf(data, 2).substr(DailyTextOf(data, 1).size())},
        {{"csv", path}, lastCsv},
        {{"csv", path, "--record", "0"}, firstCsv}};
    for (const auto& c : cases) {
        ASSERT_EQ(Run(c.args), 0) << c.args.size();
        EXPECT_EQ(out.str(), c.expected) << c.args.size();
    }
}

TEST_F(WsxTool, QuantitiesHasAHeaderAndOneRowPerPosition) {
    ASSERT_EQ(Run({"quantities", path}), 0);
    const std::vector<std::string> lines = SplitLines(out.str());
    ASSERT_EQ(lines.size(), 1u + 12);
    EXPECT_EQ(lines[0].rfind("time,position,exposure[msec]", 0), 0u);
    data.Select(0, 1);
    EXPECT_NE(out.str().find(FormatC("2024/06/21 12:00:00,1,100,25.5,%.2f,", data.GetPAR())),
              std::string::npos);
}

TEST_F(WsxTool, ErrorsHaveDistinctExitCodes) {
    WriteFileBytes(folder + "/foreign.txt", "hello world, not data");
    const struct {
        std::vector<std::string> args;
        int code;
    } cases[] = {
        {{}, CWsxTool::kUsage},
        {{"frobnicate", path}, CWsxTool::kUsage},
        {{"text"}, CWsxTool::kUsage},
        {{"text", path, "--record", "x"}, CWsxTool::kUsage},
        {{"info", path, "--record", "1"}, CWsxTool::kUsage},
        {{"info", folder + "/absent.wsx"}, CWsxTool::kMissingFile},
        {{"info", folder + "/foreign.txt"}, CWsxTool::kNotDataFile},
        {{"text", path, "--record", "3"}, CWsxTool::kNoSuchRecord},
        {{"csv", path, "--record", "7"}, CWsxTool::kNoSuchRecord},
        {{"csv", "--help"}, CWsxTool::kOk},
    };
    Run({"csv", "--help"});
    EXPECT_NE(out.str().find("usage: halvo-wsx"), std::string::npos);
    for (const auto& c : cases) {
        EXPECT_EQ(Run(c.args), c.code) << (c.args.empty() ? "" : c.args[0]);
        if (c.code != CWsxTool::kOk) {
            EXPECT_FALSE(err.str().empty());
        }
    }
}
