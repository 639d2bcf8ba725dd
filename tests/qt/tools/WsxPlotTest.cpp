// halvo-wsx plot: a record's page as a PNG picture and as a PDF page, with the user's settings,
// and a day's chart.
#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>
#include <sstream>

#include "WsxPlot.h"
#include "display/ICanvas.h"
#include "document/OrvelSettings.h"
#include "tests/support/SimulatedDay.h"
#include "tests/support/TestRecords.h"
#include "tests/support/qt/Pictures.h"

namespace {

class WsxPlot : public ::testing::Test {
protected:
    void SetUp() override {
        CRadData data;
        FillSampleSet(data, 2);
        ASSERT_EQ(data.SaveFile(path.c_str()), 1);
    }
    // Runs the tool; what it reports is kept in err.
    int Plot(const std::vector<std::string>& args) {
        std::ostringstream out;
        err.str("");
        return RunWsxPlot(args, out, err);
    }
    QImage Picture(const std::string& name) const {
        return QImage(QString::fromStdString(folder + name));
    }

    const TempFolder temp;
    const std::string folder = temp.Path();
    const std::string path = folder + "/day.wsx";
    std::ostringstream err;
};

}  // namespace

// The picture is 1600x1200 unless --size says otherwise; -o takes the format from the extension,
// whatever its case. The settings file gives the user's curve colour and grid.
TEST_F(WsxPlot, WritesThePageAsPictureOrPdfPageWithTheUsersSettings) {
    COrvelSettings settings(folder);
    settings.m_graphParam.color0 = MakeRgb(255, 0, 255);
    settings.m_graphParam.grid = 0;
    const std::string cfg = folder + "/Orvel.cfg";
    ASSERT_EQ(settings.LoadSaveConfig(cfg, COrvelSettings::kStore), 1);
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{path, "-o", folder + "/plain.png"},
          {path, "--config", cfg, "-o", folder + "/user.png"},
          {path, "--record", "0", "--png", folder + "/small.png", "--size", "400x300"},
          {path, "--pdf", folder + "/p.pdf"},
          {path, "-o", folder + "/o.PDF"}}) {
        ASSERT_EQ(Plot(args), 0) << args.back() << ": " << err.str();
    }
    const QImage plain = Picture("/plain.png"), user = Picture("/user.png");
    EXPECT_EQ(plain.size(), QSize(1600, 1200));
    EXPECT_EQ(Picture("/small.png").size(), QSize(400, 300));
    EXPECT_EQ(PdfPages(QString::fromStdString(folder + "/p.pdf")), 1);
    EXPECT_EQ(PdfPages(QString::fromStdString(folder + "/o.PDF")), 1);
    // Frame, grid labels, texts and curves.
    EXPECT_GT(CountPixels(plain, [](QRgb p) { return qGray(p) < 128; }), 2000);
    const QRgb magenta = qRgb(255, 0, 255), green = qRgb(0, 128, 0);
    EXPECT_EQ(CountPixels(plain, magenta), 0);
    EXPECT_GT(CountPixels(user, magenta), 500);
    // Without the grid the chart green is only frame, ticks and labels.
    EXPECT_LT(CountPixels(user, green), CountPixels(plain, green) / 2);
}

// Nothing is written: the folder still holds only the data and the foreign settings file.
TEST_F(WsxPlot, RefusalsHaveTheirOwnExitCodesAndWriteNothing) {
    WriteFileBytes(folder + "/bad.cfg", "not settings");
    const std::string png = folder + "/x.png", pdf = folder + "/x.pdf";
    const std::pair<int, std::vector<std::string>> cases[] = {
        {1, {path, "--png", png, "--pdf", pdf}},
        {1, {path, "-o", folder + "/x.svg"}},
        {1, {path, "-o", png, "--png", folder + "/y.png"}},
        {1, {path, "--pdf", pdf, "-o", png}},
        {1, {"--day", path, "--record", "1", "-o", png}},
        {2, {folder + "/none.wsx", "-o", png}},
        {2, {path, "--config", folder + "/none.cfg", "-o", png}},
        {3, {path, "--config", folder + "/bad.cfg", "-o", png}},
        {4, {path, "--record", "2", "-o", png}},
    };
    for (const auto& [code, args] : cases) {
        EXPECT_EQ(Plot(args), code) << args[1] << " " << args[2] << " " << args[3];
    }
    using std::filesystem::directory_iterator;
    EXPECT_EQ(std::distance(directory_iterator(folder), directory_iterator()), 2);
}

TEST_F(WsxPlot, DayChartDrawsTheCurvesOfEveryRecord) {
    CRadData day;
    FillSimulatedDay(day, 1718917200, 79, 600, 135.0, 35.0);
    ASSERT_EQ(day.SaveFile((folder + "/sim.wsx").c_str()), 1);
    ASSERT_EQ(Plot({"--day", folder + "/sim.wsx", "-o", folder + "/day.png"}), 0) << err.str();
    const QImage image = Picture("/day.png");
    ASSERT_EQ(image.size(), QSize(1600, 1200));
    for (QRgb curve : {qRgb(255, 0, 0), qRgb(0, 0, 255), qRgb(255, 140, 0), qRgb(128, 0, 128)}) {
        EXPECT_GT(CountPixels(image, curve), 400) << std::hex << curve;
    }
}
