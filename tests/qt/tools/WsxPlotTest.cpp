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

// The picture is 1600x1200 unless --size says otherwise; -o takes the format from the extension,
// whatever its case. The settings file gives the user's curve colour and grid; the day's chart
// draws the curves of every record. Refusals have their own exit codes and write nothing.
TEST(WsxPlot, WritesPagesAndDayChartsWithTheUsersSettingsAndRefusesWithoutWriting) {
    const TempFolder temp;
    const std::string folder = temp.Path();
    const std::string path = folder + "/day.wsx";
    CRadData data;
    FillSampleSet(data, 2);
    ASSERT_EQ(data.SaveFile(path.c_str()), 1);
    COrvelSettings settings(folder);
    settings.m_graphParam.color0 = MakeRgb(255, 0, 255);
    settings.m_graphParam.grid = 0;
    const std::string cfg = folder + "/Orvel.cfg";
    ASSERT_EQ(settings.LoadSaveConfig(cfg, COrvelSettings::kStore), 1);
    CRadData day;
    FillSimulatedDay(day, 1718917200, 79, 600, 135.0, 35.0);
    ASSERT_EQ(day.SaveFile((folder + "/sim.wsx").c_str()), 1);
    WriteFileBytes(folder + "/bad.cfg", "not settings");
    const std::string png = folder + "/x.png", pdf = folder + "/x.pdf";
    const std::pair<int, std::vector<std::string>> cases[] = {
        {0, {path, "-o", folder + "/plain.png"}},
        {0, {path, "--config", cfg, "-o", folder + "/user.png"}},
        {0, {path, "--record", "0", "--png", folder + "/small.png", "--size", "400x300"}},
        {0, {path, "--pdf", folder + "/p.pdf"}},
        {0, {path, "-o", folder + "/o.PDF"}},
        {0, {"--day", folder + "/sim.wsx", "-o", folder + "/day.png"}},
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
    std::ostringstream out, err;
    for (const auto& [code, args] : cases) {
        err.str("");
        EXPECT_EQ(RunWsxPlot(args, out, err), code)
            << args[1] << " " << args[2] << " " << args[3] << ": " << err.str();
    }
    // The two data files, the two settings files and the six outputs: nothing else.
    using std::filesystem::directory_iterator;
    EXPECT_EQ(std::distance(directory_iterator(folder), directory_iterator()), 10);
    const auto picture = [&folder](const char* name) {
        return QImage(QString::fromStdString(folder + name));
    };
    const QImage plain = picture("/plain.png"), user = picture("/user.png");
    EXPECT_EQ(plain.size(), QSize(1600, 1200));
    EXPECT_EQ(picture("/small.png").size(), QSize(400, 300));
    EXPECT_EQ(PdfPages(QString::fromStdString(folder + "/p.pdf")), 1);
    EXPECT_EQ(PdfPages(QString::fromStdString(folder + "/o.PDF")), 1);
    // Frame, grid labels, texts and curves.
    EXPECT_GT(CountPixels(plain, [](QRgb p) { return qGray(p) < 128; }), 2000);
    const QRgb magenta = qRgb(255, 0, 255), green = qRgb(0, 128, 0);
    EXPECT_EQ(CountPixels(plain, magenta), 0);
    EXPECT_GT(CountPixels(user, magenta), 500);
    // Without the grid the chart green is only frame, ticks and labels.
    EXPECT_LT(CountPixels(user, green), CountPixels(plain, green) / 2);
    const QImage dayChart = picture("/day.png");
    EXPECT_EQ(dayChart.size(), plain.size());
    for (QRgb curve : {qRgb(255, 0, 0), qRgb(0, 0, 255), qRgb(255, 140, 0), qRgb(128, 0, 128)}) {
        EXPECT_GT(CountPixels(dayChart, curve), 400) << std::hex << curve;
    }
}
