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

TEST_F(WsxPlot, WritesThePageAsPictureAndPdf) {
    ASSERT_EQ(Plot({path, "--record", "0", "--png", folder + "/p.png", "--size", "800x600"}), 0)
        << err.str();
    const QImage image = Picture("/p.png");
    ASSERT_EQ(image.size(), QSize(800, 600));
    // Frame, grid labels, texts and curves.
    EXPECT_GT(CountPixels(image, [](QRgb p) { return qGray(p) < 128; }), 2000);

    ASSERT_EQ(Plot({path, "--pdf", folder + "/p.pdf"}), 0) << err.str();
    EXPECT_EQ(PdfPages(QString::fromStdString(folder + "/p.pdf")), 1);

    EXPECT_EQ(Plot({path, "--png", folder + "/x.png", "--pdf", folder + "/x.pdf"}), 1);
    EXPECT_EQ(Plot({path, "--record", "2", "--png", folder + "/x.png"}), 4);
    EXPECT_EQ(Plot({folder + "/none.wsx", "--png", folder + "/x.png"}), 2);
}

TEST_F(WsxPlot, OutputFormatFollowsTheExtensionOfO) {
    ASSERT_EQ(Plot({path, "-o", folder + "/o.PDF"}), 0) << err.str();
    EXPECT_EQ(PdfPages(QString::fromStdString(folder + "/o.PDF")), 1);
    ASSERT_EQ(Plot({path, "-o", folder + "/o.png", "--size", "400x300"}), 0) << err.str();
    EXPECT_EQ(Picture("/o.png").size(), QSize(400, 300));
    for (const std::vector<std::string>& bad :
         {std::vector<std::string>{path, "-o", folder + "/o.svg"},
          {path, "-o", folder + "/a.png", "--png", folder + "/b.png"},
          {path, "--pdf", folder + "/a.pdf", "-o", folder + "/b.png"}}) {
        EXPECT_EQ(Plot(bad), 1) << bad.back();
        EXPECT_FALSE(std::filesystem::exists(folder + "/o.svg"));
    }
}

TEST_F(WsxPlot, ConfigGivesTheUsersCurveColourAndRefusesAForeignFile) {
    COrvelSettings settings(folder);
    settings.m_graphTitle = "North mast";
    settings.m_graphParam.color0 = MakeRgb(255, 0, 255);
    settings.m_graphParam.grid = 0;
    const std::string cfg = folder + "/Orvel.cfg";
    ASSERT_EQ(settings.LoadSaveConfig(cfg, COrvelSettings::kStore), 1);
    const QRgb magenta = qRgb(255, 0, 255);
    const QRgb green = qRgb(0, 128, 0);

    ASSERT_EQ(Plot({path, "-o", folder + "/plain.png"}), 0) << err.str();
    ASSERT_EQ(Plot({path, "--config", cfg, "-o", folder + "/user.png"}), 0) << err.str();
    const QImage plain = Picture("/plain.png");
    const QImage user = Picture("/user.png");
    EXPECT_EQ(CountPixels(plain, magenta), 0);
    EXPECT_GT(CountPixels(user, magenta), 500);
    // Without the grid the chart green is only frame, ticks and labels.
    EXPECT_LT(CountPixels(user, green), CountPixels(plain, green) / 2);

    WriteFileBytes(folder + "/bad.cfg", "not settings");
    EXPECT_EQ(Plot({path, "--config", folder + "/bad.cfg", "-o", folder + "/b.png"}), 3);
    EXPECT_EQ(Plot({path, "--config", folder + "/none.cfg", "-o", folder + "/b.png"}), 2);
    EXPECT_FALSE(std::filesystem::exists(folder + "/b.png"));
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
    EXPECT_EQ(Plot({"--day", folder + "/sim.wsx", "--record", "3", "-o", folder + "/x.png"}), 1);
}
