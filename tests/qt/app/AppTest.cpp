// The main window and its commands: menus, toolbar, texts, enabling, closing, the port choice,
// New, the Help menu and printing. The enabling rules and the close question are the
// controller's (MeasurementControllerTest); here the window follows them.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QToolBar>
#include <QtTest/QTest>

#include "app/AboutDlg.h"
#include "app/CommandRouter.h"
#include "app/MainFrame.h"
#include "display/qt/OrvelView.h"
#include "display/qt/QtPageOutput.h"
#include "document/OrvelDoc.h"
#include "measurement/qt/TimeDlg.h"
#include "resources/ResourceIds.h"
#include "tests/support/qt/AppHarness.h"
#include "tests/support/qt/DialogTestSupport.h"

using namespace apptest;

// The menus, toolbar and texts come from the resources (checked there against their reference
// file); here: the commands reach the bars and the texts follow the language. Whether there is
// anything to save is the document's (SaveCommandsTest); the File menu and the context menu ask
// again just as they open.
TEST(MainFrame, MenusToolbarAndTextsFollowTheLanguageAndTheMenusUpdateAsTheyOpen) {
    const struct {
        Language language;
        const char *file, *execute, *tip, *ready, *context;
    } cases[] = {
        {Language::English, "File(&F)", "Execute", "Measurement Execute", "Ready", "Meas Execute"},
        {Language::Japanese, "ﾌｧｲﾙ(&F)", "測定実行", "測定を実行する", "ﾚﾃﾞｨ", "測定実行"}};
    for (const auto& c : cases) {
        TestApp run(TestApp::Offline, c.language);
        ASSERT_TRUE(run.started);
        CMainFrame& frame = *run.app->Frame();
        EXPECT_EQ(frame.menuBar()->actions().at(0)->text(), QString::fromUtf8(c.file));
        QAction* execute = frame.CommandAction(ID_MEAS_EXECUTE);
        EXPECT_EQ(frame.menuBar()->actions().at(2)->menu()->actions().value(0), execute);
        EXPECT_EQ(execute->text(), QString::fromUtf8(c.execute));
        EXPECT_EQ(execute->statusTip(), QString::fromUtf8(c.tip));
        EXPECT_TRUE(frame.ToolBar()->actions().contains(execute));
        EXPECT_EQ(frame.MessagePane()->text(), QString::fromUtf8(c.ready));
        EXPECT_EQ(frame.windowTitle(), "old.wsx - Halvo");
        EXPECT_EQ(frame.CommandAction(ID_SAVE_COUNT), nullptr);  // reachable by no menu or key
        QAction* save = frame.CommandAction(ID_FILE_SAVE);
        for (bool withRecord : {false, true}) {
            emit frame.menuBar()->actions().at(0)->menu()->aboutToShow();
            EXPECT_EQ(save->isEnabled(), withRecord);
            EXPECT_EQ(run.app->Router().IsEnabled(ID_SAVE_COUNT), withRecord);
            QMenu* context = frame.TrackPopupMenu(QPoint(100, 100));
            ASSERT_NE(context, nullptr);
            ASSERT_EQ(context->actions().size(), 6);
            EXPECT_EQ(context->actions().at(0)->text(), QString::fromUtf8(c.context));
            EXPECT_FALSE(context->actions().at(0)->isEnabled());  // no port
            EXPECT_TRUE(context->actions().at(2)->isEnabled());
            EXPECT_EQ(context->actions().at(5)->isEnabled(), withRecord);  // Save Append
            context->close();
            run.app->Document()->m_radData.AddData(RADDATA{});
        }
    }
}

// Ctrl+N asks for a port, listing none in use, and Cancel keeps the connection. The setting
// commands open their dialogs. The Help menu shows the sensor information (the text itself is the
// document's, SetupTest) and the program's version. The print preview lays the page out on the
// landscape printer page, not in the window, and the page setup edits the same printer. Then each
// command asks the controller its own question. Closing asks during an interval measurement and
// Cancel keeps it on top; its Break enables the toolbar again at once, with no menu opened. A
// termination signal closes without asking and stops the interval measurement.
TEST(Commands, OpenTheirDialogsAndFollowTheMeasurementState) {
    TestApp run;
    ASSERT_TRUE(run.started);
    CMainFrame& frame = *run.app->Frame();
    COrvelView& view = *run.app->View();
    COrvelDoc& doc = *run.app->Document();
    QPrinter& printer = run.app->Printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageOrientation(QPageLayout::Landscape);
    QStringList port, meas, graph, interval, sensor, about, setup;
    DrawArea drawn;
    int pages = 0;
    ModalScript answers;
    answers.Then(Look(port))
        .Then(Look(meas))
        .Then(Look(graph))
        .Then(Look(interval))
        .Then(Look(sensor, {"sensorText"}))
        .Then(Look(about, {"aboutVersion", "aboutBuild", "aboutHome"}))
        .Then([&](QWidget* modal) {
            // The window repaints meanwhile; draw the preview again and look right after.
            auto* preview = modal->findChild<QPrintPreviewWidget*>();
            ASSERT_NE(preview, nullptr);
            preview->updatePreview();
            drawn = {doc.m_drawWidth, doc.m_drawHeight};
            pages = preview->pageCount();
            static_cast<QDialog*>(modal)->reject();
        })
        .Then(Look(setup));
    frame.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    QTest::keyClick(&frame, Qt::Key_N, Qt::ControlModifier);
    ASSERT_TRUE(WaitUntil(
        [&port] { return !port.isEmpty() && QApplication::activeModalWidget() == nullptr; }));
    for (unsigned id : {ID_MEAS_SETTING, ID_GRAPH_SETTING, ID_INTERVAL_MEAS, ID_SENSOR_INFO,
                        ID_APP_ABOUT, ID_FILE_PRINT_PREVIEW, ID_FILE_PRINT_SETUP}) {
        ASSERT_TRUE(RunCommand(*run.app, id)) << id;
    }
    EXPECT_EQ(port.value(0), "COM Port");
    EXPECT_FALSE(port.join('\n').contains("COM1 ("));  // the port in use
    EXPECT_TRUE(doc.m_link.IsOpen());
    EXPECT_EQ(meas + graph + interval,
              (QStringList{"Meas. Setting", "Graph Setting", "Interval Measurement"}));
    EXPECT_EQ(sensor,
              (QStringList{"Sensor Information", QString::fromStdString(doc.GetSensorInfoText())}));
    EXPECT_TRUE(sensor.value(1).startsWith("Sensor ID: KT-530\n"));
    EXPECT_EQ(about,
              (QStringList{"About Halvo", "Halvo530 Version 5.0", CAboutDlg::BuildLine(),
                           QString::fromStdString("Settings and logs in " + run.folder.Path())}));
    EXPECT_EQ(pages, 1);
    const DrawArea area = PrinterDrawArea(PrinterCapsOf(printer));
    EXPECT_EQ(std::tie(drawn.width, drawn.height), std::tie(area.width, area.height));
    EXPECT_GT(drawn.width, drawn.height);
    EXPECT_EQ(setup.value(0), "Page Setup");

    // Execute, Interval, New and Open as '1' enabled, '0' not.
    const auto enabled = [&run] {
        std::string states;
        for (unsigned id : {ID_MEAS_EXECUTE, ID_INTERVAL_MEAS, ID_FILE_NEW, ID_FILE_OPEN}) {
            states += run.app->Router().IsEnabled(id) ? '1' : '0';
        }
        return states;
    };
    EXPECT_EQ(enabled(), "1111");
    view.m_controller.m_sequence.m_measuring = 1;
    EXPECT_EQ(enabled(), "0100");
    view.m_controller.m_sequence.m_measuring = 0;
    view.m_controller.m_scheduler.StartInterval();
    EXPECT_EQ(enabled(), "0011");
    QAction* execute = frame.CommandAction(ID_MEAS_EXECUTE);
    frame.UpdateCommandUI();
    ASSERT_FALSE(execute->isEnabled());
    answers.Then([](QWidget* box) { static_cast<QMessageBox*>(box)->reject(); });
    EXPECT_FALSE(frame.close());
    EXPECT_TRUE(view.IsIntervalOn() && view.m_pTimeDlg->IsTopmost() &&
                view.m_pTimeDlg->isVisible());

    answers.Then([](QWidget* box) { static_cast<QMessageBox*>(box)->buttons().front()->click(); });
    view.m_pTimeDlg->m_break->click();
    EXPECT_TRUE(WaitUntil([&] { return !view.IsIntervalOn() && execute->isEnabled(); }));
    EXPECT_FALSE(view.m_pTimeDlg->isVisible());

    view.m_controller.m_scheduler.StartInterval();
    run.app->OnTerminationSignal();
    EXPECT_FALSE(frame.isVisible() || view.IsIntervalOn());
    run.app.reset();
    EXPECT_EQ(run.folder.StoredPort(), 1);
}
