// Tests of the QPainter canvas: the page on an image and in a PDF, clipping, the printer shift.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>
#include <cstdlib>
#include <memory>

#include "data/RadData.h"
#include "display/DrawArea.h"
#include "display/GraphPlot.h"
#include "display/PageDrawer.h"
#include "display/qt/QtCanvas.h"
#include "display/qt/QtPageOutput.h"
#include "document/GraphParam.h"
#include "tests/display/TestSpectra.h"
#include "tests/support/ScopedTimeZone.h"
#include "tests/support/qt/Pictures.h"

namespace {

const PageTexts kTexts{"Global irradiance", "Rooftop, clear sky"};
const char* const kReference = HALVO_DISPLAY_TEST_DATA "/page_800x600.png";
// A record the simulated instruments measured at noon in Tokyo, saved by the data core.
const char* const kSimulatedRecord = HALVO_DISPLAY_TEST_DATA "/simulated-noon.wsx";

bool IsRed(QRgb p) {
    return qRed(p) > 180 && qGreen(p) < 90 && qBlue(p) < 90;
}
bool IsInk(QRgb p) {
    return qGray(p) < 160;
}

class QtCanvasTest : public ::testing::Test {
protected:
    void SetUp() override { testspectra::MakeSunDataSet(m_data); }

    CRadData m_data;
    GRAPHPARAM m_param;
};

}  // namespace

// The curve runs off the top of the plot and is cut at its edge, moved with the origin.
TEST_F(QtCanvasTest, ClipFollowsAShiftedWindowOrigin) {
    QImage image(400, 300, QImage::Format_RGB32);
    image.fill(Qt::white);
    auto plot = std::make_unique<CGraphPlot>();
    plot->m_rect = {50, 40, 250, 200};
    m_data.Select(0, 0);
    m_param.autoScale = 0;
    m_param.yMaxLin = 400.0;
    {
        QPainter painter(&image);
        CQtCanvas canvas(painter, CanvasKind::Printer);
        canvas.SetWindowOrg(-60, -50);
        plot->LoadSpectrum(m_param, m_data);
        plot->SetRange(m_param);
        plot->DrawSpectrum(canvas, MakeRgb(255, 0, 0), 0);
    }
    const QRect inside(111, 91, 198, 158);
    EXPECT_EQ(CountPixels(image, IsRed), CountPixels(image, IsRed, inside));
    EXPECT_GT(CountPixels(image, IsRed, QRect(111, 91, 198, 1)), 0);
}

// The printer's capabilities are in device pixels. A record time that cannot be converted stops
// the page (what it then shows is the page drawer's, PageOperationsTest).
TEST_F(QtCanvasTest, PageInAPdfIsOneNonEmptyPageAndABadTimeStopsTheImagePage) {
    QTemporaryDir dir;
    const QString path = dir.filePath("page.pdf");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    const PrinterCaps caps = PrinterCapsOf(printer);
    EXPECT_GT(caps.horzRes, 1000);
    EXPECT_EQ(caps.logPixelsX, printer.resolution());
    ASSERT_EQ(RenderPageToPrinter(printer, m_data, m_param, kTexts), PageRenderResult::Complete);
    EXPECT_EQ(PdfPages(path), 1);
    EXPECT_GT(QFile(path).size(), 2000);

    m_data.GetRecord(0)->measTime = -5;
    QImage image(800, 600, QImage::Format_RGB32);
    EXPECT_EQ(RenderPageToImage(image, m_data, m_param, kTexts), PageRenderResult::Stopped);
}

// The printer page is the screen page of the same size moved right and down by a fortieth.
TEST_F(QtCanvasTest, PrinterPageLandsShiftedByAFortieth) {
    const DrawArea area = PrinterDrawArea({480, 660, 60, 60});
    ASSERT_EQ(area, (DrawArea{480, 360, 12, 9}));
    QImage printed(480, 660, QImage::Format_RGB32);
    printed.fill(Qt::white);
    {
        QPainter painter(&printed);
        CQtCanvas canvas(painter, CanvasKind::Printer);
        ApplyDrawArea(canvas, area);
        CPageDrawer drawer(canvas, area.width, area.height);
        ASSERT_TRUE(drawer.Draw(m_data, m_param, kTexts));
    }
    QImage screen(480, 360, QImage::Format_RGB32);
    ASSERT_EQ(RenderPageToImage(screen, m_data, m_param, kTexts), PageRenderResult::Complete);
    EXPECT_EQ(printed.copy(12, 9, 468, 351), screen.copy(0, 0, 468, 351));
    EXPECT_EQ(CountPixels(printed, IsInk, QRect(0, 0, 480, 9)), 0);
    EXPECT_EQ(CountPixels(printed, IsInk, QRect(0, 380, 480, 280)), 0);
    EXPECT_GT(CountPixels(printed, IsRed, QRect(12, 9, 468, 351)), 100);
}

// A drawing regression (lines, colours, fonts, text sizes and directions) shows as a difference
// from the stored picture of a simulated record's page (time stamp in UTC). With
// HALVO_UPDATE_REFERENCE=1 the picture is written anew instead.
TEST_F(QtCanvasTest, SimulatedRecordPageMatchesTheStoredReferencePicture) {
    CRadData simulated;
    ASSERT_EQ(simulated.LoadFile(kSimulatedRecord), 1);
    QImage image(800, 600, QImage::Format_RGB32);
    {
        const ScopedTimeZone utc("UTC");
        ASSERT_EQ(RenderPageToImage(image, simulated, m_param,
                                    PageTexts{"Graph Title", simulated.m_memo}),
                  PageRenderResult::Complete);
    }
    if (std::getenv("HALVO_UPDATE_REFERENCE") != nullptr) {
        ASSERT_TRUE(image.save(kReference));
        return;
    }
    const QImage reference = QImage(kReference).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(reference.size(), image.size()) << kReference;
    int differing = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb a = image.pixel(x, y), b = reference.pixel(x, y);
            differing += std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)),
                                   std::abs(qBlue(a) - qBlue(b))}) > 48;
        }
    }
    EXPECT_LE(differing, image.width() * image.height() / 500)
        << differing << " pixels differ from " << kReference
        << " (drawn with the fonts-liberation fonts, see scripts/setup.sh)";
}
