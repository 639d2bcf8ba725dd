// The whole application in this process against the simulated instruments on a
// pseudo-terminal: first run, Execute, Break, closing, printing and auto-started interval runs.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDialog>
#include <QEvent>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <filesystem>

#include "app/CommandRouter.h"
#include "app/MainFrame.h"
#include "display/DrawArea.h"
#include "display/GraphPlot.h"
#include "display/qt/OrvelView.h"
#include "display/qt/QtCanvas.h"
#include "document/OrvelDoc.h"
#include "link/qt/ComSelDlg.h"
#include "measurement/qt/MeasDlg.h"
#include "measurement/qt/TimeDlg.h"
#include "resources/ResourceIds.h"
#include "tests/support/ScopedTimeZone.h"
#include "tests/support/qt/AppHarness.h"
#include "tests/support/qt/DialogTestSupport.h"
#include "tests/support/qt/Pictures.h"

using namespace apptest;

namespace {

// Calls a function when a widget receives an event of one type (synchronously, inside
// whatever is running then).
struct EventHook : QObject {
    EventHook(QObject* target, QEvent::Type type, std::function<void()> action)
        : m_type(type), m_action(std::move(action)) {
        target->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == m_type) {
            ++count;
            m_action();
        }
        return false;
    }
    int count = 0;
    const QEvent::Type m_type;
    const std::function<void()> m_action;
};

}  // namespace

// The first start asks for a port among those that open now (which do is the port map's
// decision, PortMapTest), none chosen. OK without a choice keeps the port, which does not open,
// so the dialog comes again; Cancel ends without a window, the settings stored all the same. The
// next start asks again and stores the chosen port before the window shows.
TEST(EndToEnd, FirstRunChoosesThePortAndStoresItBeforeTheWindowShows) {
    RunFolder folder;
    FakeWallClock clock(kNoonAtDefaultSite);
    auto simulator = StartSimulator(folder, clock);
    ASSERT_TRUE(simulator);
    ASSERT_EQ(folder.StoredPort(), -2);
    auto app = MakeApp(folder, clock);
    QStringList first, again;
    ModalScript answers;
    answers.Then(Look(first, {}, true)).Then(Look(again));
    EXPECT_FALSE(app->InitInstance());
    const QString com1 = QString::fromStdString(CPortMap(folder.PortsDir()).Label(1));
    EXPECT_EQ(first, (QStringList{"COM Port", "-1", com1}));
    EXPECT_EQ(again, first);
    EXPECT_FALSE(app->Frame()->WasShown());
    app.reset();
    EXPECT_EQ(folder.StoredPort(), -1);

    app = MakeApp(folder, clock);
    int storedWhenShown = -3;
    std::unique_ptr<EventHook> onShow;
    answers.Then([&](QWidget* modal) {
        // The frame exists, hidden, while the port is being chosen.
        onShow = std::make_unique<EventHook>(app->Frame(), QEvent::Show,
                                             [&] { storedWhenShown = folder.StoredPort(); });
        auto* dialog = static_cast<CComSelDlg*>(modal);
        const int at = dialog->m_combo->findData(1);
        ASSERT_GE(at, 0);
        dialog->m_combo->setCurrentIndex(at);
        dialog->accept();
    });
    ASSERT_TRUE(app->InitInstance());
    EXPECT_EQ(storedWhenShown, 1);
    EXPECT_TRUE(app->Document()->m_link.IsOpen());
    EXPECT_NE(std::string(app->Document()->m_radData.m_type), "");
}

// The page on screen holds the four curves in their colours inside the plot, and printed to a
// PDF it is one page, larger than the empty page printed before. What the page holds for a
// record is the page drawer's (PageOperationsTest).
TEST(EndToEnd, ExecuteDrawsFourCurvesAndUpdatesTheQuantities) {
    TestApp run;
    ASSERT_TRUE(run.started);
    COrvelApp& app = *run.app;
    app.Frame()->resize(1000, 800);
    const QString empty = QString::fromStdString(run.folder.Path() + "empty.pdf");
    const QString chart = QString::fromStdString(run.folder.Path() + "chart.pdf");
    app.Printer().setOutputFormat(QPrinter::PdfFormat);
    const auto print = [&app](const QString& path) {
        app.Printer().setOutputFileName(path);
        ModalScript answers;
        answers.Then([](QWidget* modal) { static_cast<QDialog*>(modal)->accept(); });
        return RunCommand(app, ID_FILE_PRINT);
    };
    ASSERT_TRUE(print(empty));
    // Band moves that take a moment, so the screen gets the time to show each position.
    SIMFAULTS slowBand;
    slowBand.slowBand = 0.1;
    run.simulator->SetFaults(slowBand);
    int paintsWhileMeasuring = 0;
    EventHook painted(app.View(), QEvent::Paint,
                      [&] { paintsWhileMeasuring += app.View()->IsMeasuring() ? 1 : 0; });
    ASSERT_TRUE(app.Router().IsEnabled(ID_MEAS_EXECUTE));
    ASSERT_TRUE(RunCommand(app, ID_MEAS_EXECUTE));

    ASSERT_EQ(app.Document()->m_radData.GetSize(), 1);
    const RADDATA& record = *app.Document()->m_radData.GetRecord(0);
    EXPECT_EQ(record.measTime, static_cast<int32_t>(kNoonAtDefaultSite));
    for (const SPECDATA& spec : record.spec) {
        EXPECT_EQ(spec.valid, 1);
        EXPECT_GT(spec.exposure, 0);
    }
    EXPECT_GE(paintsWhileMeasuring, 3);  // the view redrew as the positions came in
    EXPECT_FALSE(app.View()->m_pMeasDlg->isVisible());
    EXPECT_TRUE(app.Router().IsEnabled(ID_FILE_SAVE));

    const QImage image = app.View()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const DrawArea area = ScreenDrawArea(image.width(), image.height());
    const QRect plot(area.width * 14 / 100, area.height / 8, area.width * 78 / 100,
                     area.height * 72 / 100);
    for (int m = 0; m < 4; ++m) {
        const QRgb curve = CQtCanvas::ToQColor(CurveColour(app.Document()->m_graphParam, m)).rgb();
        EXPECT_GT(CountPixels(image, curve, plot), 200) << m;
    }
    ASSERT_TRUE(print(chart));
    EXPECT_EQ(PdfPages(empty), 1);
    EXPECT_EQ(PdfPages(chart), 1);
    EXPECT_GT(QFile(chart).size(), QFile(empty).size() + 5000);
}

// Answers come in pieces: the program waits inside every exchange, as with real instruments, so
// a posted Break is delivered during the acquisition it was pressed in. Break, pressed when the
// dialog appears for band position 2, empties the data and parks the band; position 3 is never
// visited (its acquisition would have shown the dialog again). Closing during the next
// measurement waits for it to unwind, then stores the document and closes the port.
TEST(EndToEnd, BreakOrClosingDuringAMeasurementUnwindsIt) {
    TestApp run;
    ASSERT_TRUE(run.started);
    SIMFAULTS pieces;
    pieces.split = 1.0;
    run.simulator->SetFaults(pieces);
    COrvelApp& app = *run.app;
    CMeasDlg& progress = *app.View()->m_pMeasDlg;
    {
        EventHook pressBreak(&progress, QEvent::Show, [&] {
            if (app.Document()->m_radData.GetSize() == 1 &&
                app.Document()->m_radData.GetRecord(0)->spec[1].valid == 1) {
                progress.m_break->click();
            }
        });
        ASSERT_TRUE(RunCommand(app, ID_MEAS_EXECUTE));
        EXPECT_EQ(pressBreak.count, 3);
    }
    EXPECT_EQ(app.Document()->m_radData.GetSize(), 0);
    EXPECT_TRUE(app.Document()->IsModified());
    EXPECT_DOUBLE_EQ(std::abs(run.simulator->BandAngle()), 135.0);
    EXPECT_TRUE(app.Router().IsEnabled(ID_MEAS_EXECUTE));

    CMainFrame& frame = *app.Frame();
    bool closedAtOnce = true;
    EventHook closeMidway(&progress, QEvent::Show, [&] {
        if (app.View()->IsMeasuring() && frame.isVisible()) {
            closedAtOnce = frame.close();
        }
    });
    app.Router().Post(ID_MEAS_EXECUTE);
    ASSERT_TRUE(WaitUntil([&] { return !frame.isVisible(); }));
    EXPECT_FALSE(closedAtOnce);
    EXPECT_FALSE(app.View()->IsMeasuring());
    run.app.reset();
    EXPECT_EQ(run.folder.StoredPort(), 1);
}

TEST(EndToEnd, AutoStartedIntervalMeasurementWritesTheDaysFiles) {
    RunFolder folder;
    FakeWallClock clock(kNoonAtDefaultSite - 2);  // 02:59:58 UTC
    folder.WriteConfig(1, [](COrvelSettings& settings) {
        settings.m_autoStart = 1;
        settings.m_intervalStart = 0;
        settings.m_intervalEnd = 86399;
        settings.m_intervalPeriod = 60;
    });
    const ScopedTimeZone utc("UTC");
    auto simulator = StartSimulator(folder, clock);
    ASSERT_TRUE(simulator);
    auto app = MakeApp(folder, clock);
    ASSERT_TRUE(app->InitInstance());
    EXPECT_TRUE(app->View()->IsIntervalOn());
    EXPECT_FALSE(app->Router().IsEnabled(ID_MEAS_EXECUTE));
    // A tick before the slot's second, then the clock moves past it.
    EXPECT_TRUE(WaitUntil(
        [&] { return app->View()->m_pTimeDlg->m_time->text().startsWith("Time 02:59:58"); }));
    clock.Set(kNoonAtDefaultSite + 1);
    const std::string data = folder.Path() + "VS20240621.wsx";
    const std::string text = folder.Path() + "20240621.txt";
    EXPECT_TRUE(WaitUntil([&] { return std::filesystem::exists(text); }, 15000));
    EXPECT_TRUE(std::filesystem::exists(data));
    EXPECT_EQ(app->Frame()->windowTitle(), QString::fromStdString(data + " - Halvo"));
}
