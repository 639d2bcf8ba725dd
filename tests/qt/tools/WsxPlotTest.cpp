// halvo-wsx plot: a record's page as a PNG picture and as a PDF page.
#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>
#include <sstream>

#include "tests/support/TestRecords.h"
#include "WsxPlot.h"

TEST(WsxPlot, WritesThePageAsPictureAndPdf) {
    const std::string folder = MakeTempFolder();
    const std::string path = folder + "/day.wsx";
    CRadData data;
    FillSampleSet(data, 2);
    ASSERT_EQ(data.SaveFile(path.c_str()), 1);
    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(RunWsxPlot({path, "--record", "0", "--png", folder + "/p.png", "--size", "800x600"},
                         out, err),
              0)
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

    ASSERT_EQ(RunWsxPlot({path, "--pdf", folder + "/p.pdf"}, out, err), 0) << err.str();
    EXPECT_EQ(ReadFileBytes(folder + "/p.pdf").substr(0, 5), "%PDF-");

    EXPECT_EQ(RunWsxPlot({path, "--png", folder + "/x.png", "--pdf", folder + "/x.pdf"}, out, err),
              1);
    EXPECT_EQ(RunWsxPlot({path, "--record", "2", "--png", folder + "/x.png"}, out, err), 4);
    EXPECT_EQ(RunWsxPlot({folder + "/none.wsx", "--png", folder + "/x.png"}, out, err), 2);
    std::filesystem::remove_all(folder);
}
