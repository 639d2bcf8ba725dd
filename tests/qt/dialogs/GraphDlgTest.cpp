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
#include <memory>

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
    GraphDlgTest() : doc(std::make_unique<COrvelDoc>(folder.Path())) { doc->SetHost(&host); }

    // A dialog shown without its own event loop, filled like the Graph command fills it.
    std::unique_ptr<CGraphDlg> ShowDialog() {
        auto dlg = std::make_unique<CGraphDlg>(Language::English);
        dlg->m_pData = &doc->m_radData;
        dlg->m_title = doc->m_graphTitle;
        dlg->m_param = doc->m_graphParam;
        dlg->show();
        return dlg;
    }

    TempFolder folder;
    FakeHost host;
    std::unique_ptr<COrvelDoc> doc;
};

// Refused: the message, the dialog again with the values it opened with, nothing stored. The
// view is redrawn either way.
TEST_F(GraphDlgTest, WavelengthRangeMustLieInsideTheAvailableArea) {
    const struct {
        const char *from, *to;
        bool accepted;
    } cases[] = {
        {"400", "700", true},    {"300", "1100", true},    {"700", "400", true},
        {"250", "700", false},   {"400", "1100.5", false}, {"abc", "700", false},
        {"299.9", "500", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.from) + " - " + c.to);
        doc->m_graphParam.xMin = 350.0;
        doc->m_graphParam.xMax = 1050.0;
        std::filesystem::remove(doc->m_cfgPath);
        host.redraws = 0;
        std::string message;
        QStringList shown;
        ModalScript script;
        script.Then(Inspect(
            [&](QWidget* dlg) {
                SetText(dlg, IDC_X_FROM, c.from);
                SetText(dlg, IDC_X_TO, c.to);
            },
            1));
        if (!c.accepted) {
            script.Then(Acknowledge(message)).Then(Inspect([&](QWidget* dlg) {
                shown << TextOf(dlg, IDC_X_FROM) << TextOf(dlg, IDC_X_TO);
            }));
        }
        EXPECT_EQ(CGraphDlg::Run(*doc, nullptr), c.accepted);
        EXPECT_EQ(host.redraws, 1);
        if (c.accepted) {
            EXPECT_EQ(doc->m_graphParam.xMin, std::stod(c.from));
            EXPECT_EQ(StoredSettings(*doc).m_graphParam.xMax, std::stod(c.to));
        } else {
            EXPECT_EQ(message, "Available Area is\n300 - 1100 [nm]");
            EXPECT_EQ(shown, (QStringList{"350", "1050"}));
            EXPECT_EQ(doc->m_graphParam.xMin, 350.0);
            EXPECT_FALSE(std::filesystem::exists(doc->m_cfgPath));
        }
    }
}

// The dialog opens on what is stored, each choice and its opposite; OK with no change keeps it.
TEST_F(GraphDlgTest, OpensShowingTheStoredTitleScaleAndChoices) {
    for (const int on : {1, 0}) {
        SCOPED_TRACE(on);
        doc->m_graphTitle = on == 1 ? "Roof" : "Mast";
        GRAPHPARAM& p = doc->m_graphParam;
        p.logScale = p.unit = p.marker = on;
        p.autoScale = p.grid = 1 - on;
        p.yMaxLog = 3.0;
        p.yMaxLin = 20000.0;
        auto dlg = ShowDialog();
        EXPECT_EQ(TextOf(dlg.get(), IDC_TITLE), QString::fromStdString(doc->m_graphTitle));
        EXPECT_EQ(TextOf(dlg.get(), IDC_Y_MAX), on == 1 ? "3" : "20000");
        const std::pair<int, bool> checks[] = {{IDC_LOG, on == 1},       {IDC_UNIT_PHOTON, on == 1},
                                               {IDC_UNIT_WATT, on == 0}, {IDC_MARKER, on == 1},
                                               {IDC_AUTOSCALE, on == 0}, {IDC_GRID, on == 0}};
        for (const auto& [id, checked] : checks) {
            EXPECT_EQ(Control<QAbstractButton>(dlg.get(), id)->isChecked(), checked) << id;
        }
        Click(dlg.get(), 1);
        EXPECT_EQ(dlg->m_title, doc->m_graphTitle);
        EXPECT_EQ(dlg->m_param.logScale, on);
        EXPECT_EQ(dlg->m_param.unit, on);
        EXPECT_EQ(dlg->m_param.grid, 1 - on);
    }
}

// A click on a choice and Enter in an edit redraw the preview and leave the dialog open: the
// manual limit shows as a whole number, the value typed counts. Each scale keeps its own manual
// pair; Autoscale greys the Y edits, whose values still count.
TEST_F(GraphDlgTest, RefreshAndTheManualPairsOfEachScale) {
    doc->m_graphParam.autoScale = 0;
    auto dlg = ShowDialog();
    QWidget* d = dlg.get();
    auto* yMax = Control<QLineEdit>(d, IDC_Y_MAX);
    EXPECT_EQ(yMax->text(), "32000");
    yMax->setText("12.7");
    Click(d, IDC_GRID);
    EXPECT_EQ(yMax->text(), "13");
    EXPECT_EQ(dlg->m_param.grid, 0);
    yMax->setText("24999.6");
    yMax->setFocus();
    QTest::keyClick(yMax, Qt::Key_Return);
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(yMax->text(), "25000");
    EXPECT_EQ(dlg->m_param.yMaxLin, 24999.6);

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
    Click(d, 1);
    EXPECT_EQ(dlg->result(), QDialog::Accepted);
    EXPECT_EQ(dlg->m_param.yMaxLin, 500.0);
    EXPECT_EQ(dlg->m_param.yMinLin, 0.0);
    EXPECT_EQ(dlg->m_param.yMaxLog, 5.0);
    EXPECT_EQ(dlg->m_param.yMinLog, -2.0);
    EXPECT_EQ(dlg->m_param.logScale, 0);
    EXPECT_EQ(dlg->m_param.autoScale, 1);
}

TEST_F(GraphDlgTest, ChosenColourReachesSwatchPreviewAndDocument) {
    CColorButton* swatch = nullptr;
    Colour beforeCancel = 0;
    ModalScript script;
    script.Then(Press(IDC_COLOR))
        .Then([](QWidget* w) {
            auto* colours = qobject_cast<QColorDialog*>(w);
            ASSERT_NE(colours, nullptr);
            EXPECT_EQ(colours->currentColor(), QColor(255, 0, 0));
            colours->setCurrentColor(QColor(10, 20, 30));
            colours->accept();
        })
        .Then([&](QWidget* dlg) {
            swatch = static_cast<CGraphDlg*>(dlg)->ColorButton();
            beforeCancel = swatch->m_color;
            Click(dlg, IDC_COLOR);
        })
        .Then([](QWidget* w) { static_cast<QDialog*>(w)->reject(); })
        .Then([&](QWidget* dlg) {
            EXPECT_EQ(swatch->m_color, beforeCancel);
            Click(dlg, 1);
        });
    EXPECT_TRUE(CGraphDlg::Run(*doc, nullptr));
    EXPECT_EQ(beforeCancel, MakeRgb(10, 20, 30));
    EXPECT_EQ(doc->m_graphParam.color0, MakeRgb(10, 20, 30));
    EXPECT_EQ(StoredSettings(*doc).m_graphParam.color0, MakeRgb(10, 20, 30));
}

TEST_F(GraphDlgTest, PreviewDrawsFrameAndCurvesInsideTheAreaOfControl1016) {
    testspectra::MakeSunDataSet(doc->m_radData);
    doc->m_graphParam.color0 = MakeRgb(255, 0, 255);
    doc->m_graphParam.grid = 0;
    auto dlg = ShowDialog();
    const CanvasRect r = dlg->PreviewRect();
    const QRect area(r.left, r.top, r.right - r.left, r.bottom - r.top);
    const QImage image = dlg->grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(image.pixel(area.left(), area.center().y()), qRgb(0, 128, 0));
    EXPECT_EQ(image.pixel(area.center().x(), area.top()), qRgb(0, 128, 0));
    // Measure0's colour appears in the preview and, outside it, only on the swatch.
    const QRgb magenta = qRgb(255, 0, 255);
    const QRgb blue = qRgb(0, 0, 255);
    EXPECT_GT(CountPixels(image, magenta, area), 20);
    EXPECT_EQ(CountPixels(image, magenta) - CountPixels(image, magenta, area),
              CountPixels(image, magenta, dlg->ColorButton()->geometry()));
    EXPECT_GT(CountPixels(image, blue, area), 20);
    EXPECT_EQ(CountPixels(image, blue), CountPixels(image, blue, area));
}

}  // namespace
