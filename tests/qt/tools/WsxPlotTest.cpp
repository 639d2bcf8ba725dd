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

namespace {

int CountPixels(const QImage& image, QRgb colour) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            n += (image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF) ? 1 : 0;
        }
    }
    return n;
}

class WsxPlot : public ::testing::Test {
protected:
    void SetUp() override {
        path = folder + "/day.wsx";
        CRadData data;
        FillSampleSet(data, 2);
        ASSERT_EQ(data.SaveFile(path.c_str()), 1);
    }
    int Plot(const std::vector<std::string>& args) {
        err.str("");
        return RunWsxPlot(args, out, err);
    }

    TempFolder temp;
    std::string folder = temp.Path();
    std::string path;
    std::ostringstream out;
    std::ostringstream err;
};

}  // namespace

TEST_F(WsxPlot, WritesThePageAsPictureAndPdf) {
    ASSERT_EQ(Plot({path, "--record", "0", "--png", folder + "/p.png", "--size", "800x600"}), 0)
        << err.str();
    QImage image(QString::fromStdString(folder + "/p.png"));
    ASSERT_EQ(image.size(), QSize(800, 600));
    int dark = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            dark += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
        }
    }
    EXPECT_GT(dark, 2000);  // frame, grid labels, texts and curves

    ASSERT_EQ(Plot({path, "--pdf", folder + "/p.pdf"}), 0) << err.str();
    EXPECT_EQ(ReadFileBytes(folder + "/p.pdf").substr(0, 5), "%PDF-");

    EXPECT_EQ(Plot({path, "--png", folder + "/x.png", "--pdf", folder + "/x.pdf"}), 1);
    EXPECT_EQ(Plot({path, "--record", "2", "--png", folder + "/x.png"}), 4);
    EXPECT_EQ(Plot({folder + "/none.wsx", "--png", folder + "/x.png"}), 2);
}

TEST_F(WsxPlot, OutputFormatFollowsTheExtensionOfO) {
    ASSERT_EQ(Plot({path, "-o", folder + "/o.PDF"}), 0) << err.str();
    EXPECT_EQ(ReadFileBytes(folder + "/o.PDF").substr(0, 5), "%PDF-");
    ASSERT_EQ(Plot({path, "-o", folder + "/o.png", "--size", "400x300"}), 0) << err.str();
    EXPECT_EQ(QImage(QString::fromStdString(folder + "/o.png")).size(), QSize(400, 300));
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

    ASSERT_EQ(Plot({path, "-o", folder + "/plain.png"}), 0) << err.str();
    ASSERT_EQ(Plot({path, "--config", cfg, "-o", folder + "/user.png"}), 0) << err.str();
    const QImage plain(QString::fromStdString(folder + "/plain.png"));
    const QImage user(QString::fromStdString(folder + "/user.png"));
    EXPECT_EQ(CountPixels(plain, magenta), 0);
    EXPECT_GT(CountPixels(user, magenta), 500);
    // Without the grid the chart green is only frame, ticks and labels.
    EXPECT_LT(CountPixels(user, qRgb(0, 128, 0)), CountPixels(plain, qRgb(0, 128, 0)) / 2);

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
    const QImage image(QString::fromStdString(folder + "/day.png"));
    ASSERT_EQ(image.size(), QSize(1600, 1200));
    for (QRgb curve : {qRgb(255, 0, 0), qRgb(0, 0, 255), qRgb(255, 140, 0), qRgb(128, 0, 128)}) {
        EXPECT_GT(CountPixels(image, curve), 400) << std::hex << curve;
    }
    EXPECT_EQ(Plot({"--day", folder + "/sim.wsx", "--record", "3", "-o", folder + "/x.png"}), 1);
}
