// The "Graph Setting" dialog: range check, per-scale Y pairs, refresh, preview and colour swatch.
// These decisions live in the dialog alone.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QColorDialog>
#include <QImage>
#include <QLineEdit>
#include <QPixmap>
#include <QTest>
#include <filesystem>

#include "display/qt/ColorButton.h"
#include "display/qt/GraphDlg.h"
#include "document/OrvelDoc.h"
#include "tests/display/TestSpectra.h"
#include "tests/support/Fakes.h"
#include "tests/support/qt/DialogTestSupport.h"
#include "tests/support/qt/Pictures.h"

namespace {

class GraphDlgTest : public ::testing::Test {
protected:
    GraphDlgTest() { doc.SetHost(&host); }

    TempFolder folder;
    FakeHost host;
    COrvelDoc doc{folder.Path()};
};

// Refused: the message, the dialog again with the values it opened with, nothing stored (the
// settings file stays away and reads as the defaults). A reversed range is taken as typed. The
// view is redrawn either way.
TEST_F(GraphDlgTest, WavelengthRangeMustLieInsideTheAvailableArea) {
    const struct {
        const char *from, *to;
        bool accepted;
    } cases[] = {
        {"400", "700", true},     {"300", "1100", true}, {"700", "400", true},
        {"400", "1100.5", false}, {"abc", "700", false}, {"299.9", "500", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.from) + " - " + c.to);
        doc.m_graphParam.xMin = 350.0;
        doc.m_graphParam.xMax = 1050.0;
        std::filesystem::remove(doc.m_cfgPath);
        host.redraws = 0;
        Refusal refusal;
        QStringList shown;
        ModalScript script;
        script.Then(Inspect(
            [&](QWidget* dlg) {
                SetText(dlg, IDC_X_FROM, c.from);
                SetText(dlg, IDC_X_TO, c.to);
            },
            1));
        if (!c.accepted) {
            ThenRefused(script, refusal, [&](QWidget* dlg) {
                shown << TextOf(dlg, IDC_X_FROM) << TextOf(dlg, IDC_X_TO);
            });
        }
        EXPECT_EQ(CGraphDlg::Run(doc, nullptr), c.accepted);
        EXPECT_EQ(host.redraws, 1);
        EXPECT_EQ(refusal.message, c.accepted ? "" : "Available Area is\n300 - 1100 [nm]");
        EXPECT_EQ(shown, c.accepted ? QStringList() : (QStringList{"350", "1050"}));
        EXPECT_EQ(doc.m_graphParam.xMin, c.accepted ? std::stod(c.from) : 350.0);
        EXPECT_EQ(StoredSettings(doc).m_graphParam.xMax, c.accepted ? std::stod(c.to) : 1100.0);
    }
}

// The dialog opens on what is stored, each choice and its opposite; OK keeps the choices and
// takes the title typed.
TEST_F(GraphDlgTest, OpensShowingTheStoredTitleScaleAndChoices) {
    GRAPHPARAM& p = doc.m_graphParam;
    p.yMaxLog = 3.0;
    p.yMaxLin = 20000.0;
    for (const int on : {1, 0}) {
        SCOPED_TRACE(on);
        doc.m_graphTitle = on == 1 ? "Roof" : "Mast";
        p.logScale = p.unit = p.marker = on;
        p.autoScale = p.grid = 1 - on;
        ModalScript script;
        script.Then(Inspect(
            [&](QWidget* dlg) {
                EXPECT_EQ(TextOf(dlg, IDC_TITLE), on == 1 ? "Roof" : "Mast");
                EXPECT_EQ(TextOf(dlg, IDC_Y_MAX), on == 1 ? "3" : "20000");
                const std::pair<int, bool> checks[] = {
                    {IDC_LOG, on == 1},    {IDC_UNIT_PHOTON, on == 1}, {IDC_UNIT_WATT, on == 0},
                    {IDC_MARKER, on == 1}, {IDC_AUTOSCALE, on == 0},   {IDC_GRID, on == 0}};
                for (const auto& [id, checked] : checks) {
                    EXPECT_EQ(Control<QAbstractButton>(dlg, id)->isChecked(), checked) << id;
                }
                SetText(dlg, IDC_TITLE, "Wall");
            },
            1));
        EXPECT_TRUE(CGraphDlg::Run(doc, nullptr));
        EXPECT_EQ(doc.m_graphTitle, "Wall");
        // log scale, photon unit, marker, grid, autoscale
        EXPECT_EQ(std::tie(p.logScale, p.unit, p.marker, p.grid, p.autoScale),
                  std::tuple(on, on, on, 1 - on, 1 - on));
    }
}

// A click on a choice and Enter in an edit redraw the preview and leave the dialog open: the
// manual limit shows as a whole number, the value typed counts. Each scale keeps its own manual
// pair; Autoscale greys the Y edits, whose values still count.
TEST_F(GraphDlgTest, RefreshAndTheManualPairsOfEachScale) {
    doc.m_graphParam.autoScale = 0;
    ModalScript script;
    script.Then(Inspect(
        [](QWidget* d) {
            auto* yMax = Control<QLineEdit>(d, IDC_Y_MAX);
            yMax->setText("12.7");
            Click(d, IDC_GRID);
            EXPECT_EQ(yMax->text(), "13");
            yMax->setText("24999.6");
            yMax->setFocus();
            QTest::keyClick(yMax, Qt::Key_Return);
            EXPECT_TRUE(d->isVisible());
            EXPECT_EQ(yMax->text(), "25000");
            EXPECT_EQ(static_cast<CGraphDlg*>(d)->m_param.yMaxLin, 24999.6);
            Click(d, IDC_LOG);  // stores the linear pair, shows the log pair
            EXPECT_EQ(yMax->text(), "4");
            EXPECT_EQ(TextOf(d, IDC_Y_MIN), "0");
            yMax->setText("5");
            SetText(d, IDC_Y_MIN, "-2");
            Click(d, IDC_LOG);  // stores the log pair, shows the linear pair
            EXPECT_EQ(yMax->text(), "25000");
            EXPECT_EQ(TextOf(d, IDC_Y_MIN), "0");
            yMax->setText("500");
            Click(d, IDC_AUTOSCALE);
            EXPECT_FALSE(yMax->isEnabled());
            EXPECT_FALSE(Control<QLineEdit>(d, IDC_Y_MIN)->isEnabled());
        },
        1));
    EXPECT_TRUE(CGraphDlg::Run(doc, nullptr));
    const GRAPHPARAM& p = doc.m_graphParam;
    EXPECT_EQ(std::tie(p.yMaxLin, p.yMinLin, p.yMaxLog, p.yMinLog),
              std::tuple(500.0, 0.0, 5.0, -2.0));
    EXPECT_EQ(std::tie(p.grid, p.logScale, p.autoScale), std::tuple(0, 0, 1));
}

// The colour dialog opens on Measure0's colour; the one chosen reaches the swatch and the
// preview at once, and on OK the document and the settings file; Cancel in the colour dialog
// changes nothing. The preview draws its green frame and the curves inside the area of control
// 1016: Measure0's colour appears outside it only on the swatch, Measure1's nowhere else.
TEST_F(GraphDlgTest, ChosenColourReachesSwatchPreviewAndDocument) {
    testspectra::MakeSunDataSet(doc.m_radData);
    doc.m_graphParam.grid = 0;
    const QRgb magenta = qRgb(255, 0, 255), blue = qRgb(0, 0, 255);
    Colour swatch = 0;
    QImage image;
    QRect area, swatchArea;
    ModalScript script;
    script.Then(Press(IDC_COLOR))
        .Then([](QWidget* w) {
            auto* colours = qobject_cast<QColorDialog*>(w);
            ASSERT_NE(colours, nullptr);
            EXPECT_EQ(colours->currentColor(), QColor(255, 0, 0));
            colours->setCurrentColor(QColor(255, 0, 255));
            colours->accept();
        })
        .Then(Press(IDC_COLOR))
        .Then([](QWidget* w) { static_cast<QDialog*>(w)->reject(); })
        .Then(Inspect(
            [&](QWidget* w) {
                auto* dlg = static_cast<CGraphDlg*>(w);
                swatch = dlg->ColorButton()->m_color;
                swatchArea = dlg->ColorButton()->geometry();
                const CanvasRect r = dlg->PreviewRect();
                area = QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
                image = dlg->grab().toImage().convertToFormat(QImage::Format_RGB32);
            },
            1));
    EXPECT_TRUE(CGraphDlg::Run(doc, nullptr));
    EXPECT_EQ(swatch, MakeRgb(255, 0, 255));
    EXPECT_EQ(doc.m_graphParam.color0, MakeRgb(255, 0, 255));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.pixel(area.left(), area.center().y()), qRgb(0, 128, 0));
    EXPECT_EQ(image.pixel(area.center().x(), area.top()), qRgb(0, 128, 0));
    EXPECT_GT(CountPixels(image, magenta, area), 20);
    EXPECT_EQ(CountPixels(image, magenta) - CountPixels(image, magenta, area),
              CountPixels(image, magenta, swatchArea));
    EXPECT_GT(CountPixels(image, blue, area), 20);
    EXPECT_EQ(CountPixels(image, blue), CountPixels(image, blue, area));
}

}  // namespace
