// The main window and its commands: menus, toolbar, texts, enabling, closing, the start-up port
// choice, New, the Help menu and printing. The enabling rules and the close question are the
// controller's (MeasurementControllerTest); here the window follows them.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QComboBox>
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
#include "link/qt/ComSelDlg.h"
#include "measurement/qt/TimeDlg.h"
#include "resources/ResourceIds.h"
#include "tests/support/qt/AppHarness.h"
#include "tests/support/qt/DialogTestSupport.h"

using namespace apptest;

namespace {

bool Enabled(CMainFrame& frame, unsigned id) {
    frame.UpdateCommandUI();
    QAction* action = frame.CommandAction(id);
    return action != nullptr && action->isEnabled();
}

QStringList Entries(QWidget* portDialog) {
    const QComboBox* combo = static_cast<CComSelDlg*>(portDialog)->m_combo;
    QStringList entries;
    for (int i = 0; i < combo->count(); ++i) {
        entries << combo->itemText(i);
    }
    return entries;
}

// A script step keeping the modal window's title and the texts of some of its labels, then
// closing it.
ModalScript::Step Look(QStringList& seen, std::initializer_list<const char*> labels = {}) {
    return [&seen, labels = std::vector<const char*>(labels)](QWidget* modal) {
        seen = QStringList{modal->windowTitle()};
        for (const char* label : labels) {
            seen << modal->findChild<QLabel*>(label)->text();
        }
        static_cast<QDialog*>(modal)->reject();
    };
}

}  // namespace

// The menus, toolbar and texts come from the resources (checked there against their reference
// file); here: the commands reach the bars and the texts follow the language.
TEST(MainFrame, MenusToolbarAndTextsFollowTheLanguage) {
    const struct {
        Language language;
        const char *file, *execute, *tip, *ready;
    } cases[] = {{Language::English, "File(&F)", "Execute", "Measurement Execute", "Ready"},
                 {Language::Japanese, "ﾌｧｲﾙ(&F)", "測定実行", "測定を実行する", "ﾚﾃﾞｨ"}};
    for (const auto& c : cases) {
        OfflineApp run(c.language);
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
    }
}

// Each command asks the controller its own question. Closing asks during an interval
// measurement and Cancel keeps it on top; its Break enables the toolbar again at once, with no
// menu opened, and the window then closes unasked.
TEST(MainFrame, CommandsAndClosingFollowTheMeasurementState) {
    ConnectedApp run;
    ASSERT_TRUE(run.started);
    CMainFrame& frame = *run.app->Frame();
    COrvelView& view = *run.app->View();
    EXPECT_TRUE(Enabled(frame, ID_MEAS_EXECUTE));
    view.m_controller.m_sequence.m_measuring = 1;
    EXPECT_FALSE(Enabled(frame, ID_MEAS_EXECUTE));
    EXPECT_TRUE(Enabled(frame, ID_INTERVAL_MEAS));
    EXPECT_FALSE(run.app->Router().IsEnabled(ID_FILE_NEW));
    EXPECT_FALSE(run.app->Router().IsEnabled(ID_FILE_OPEN));
    view.m_controller.m_sequence.m_measuring = 0;

    view.m_controller.m_scheduler.StartInterval();
    EXPECT_FALSE(Enabled(frame, ID_INTERVAL_MEAS));
    EXPECT_TRUE(run.app->Router().IsEnabled(ID_FILE_NEW));
    EXPECT_TRUE(run.app->Router().IsEnabled(ID_FILE_OPEN));
    QAction* execute = frame.CommandAction(ID_MEAS_EXECUTE);
    ASSERT_FALSE(execute->isEnabled());
    ModalScript answers;
    answers.Then([](QWidget* box) { static_cast<QMessageBox*>(box)->reject(); });
    EXPECT_FALSE(frame.close());
    EXPECT_TRUE(view.IsIntervalOn());
    EXPECT_TRUE(view.m_pTimeDlg->IsTopmost());
    EXPECT_TRUE(view.m_pTimeDlg->isVisible());

    answers.Then([](QWidget* box) { static_cast<QMessageBox*>(box)->buttons().front()->click(); });
    view.m_pTimeDlg->m_break->click();
    EXPECT_TRUE(WaitUntil([&] { return !view.IsIntervalOn() && execute->isEnabled(); }));
    EXPECT_FALSE(view.m_pTimeDlg->isVisible());
    EXPECT_TRUE(frame.close());
    EXPECT_FALSE(frame.isVisible());
}

// Whether there is anything to save is the document's (SaveCommandsTest); the File menu and the
// context menu ask again just as they open.
TEST(MainFrame, MenusUpdateTheirItemsAsTheyOpen) {
    OfflineApp run;
    ASSERT_TRUE(run.started);
    CMainFrame& frame = *run.app->Frame();
    QAction* save = frame.CommandAction(ID_FILE_SAVE);
    for (bool withRecord : {false, true}) {
        emit frame.menuBar()->actions().at(0)->menu()->aboutToShow();
        EXPECT_EQ(save->isEnabled(), withRecord);
        EXPECT_EQ(run.app->Router().IsEnabled(ID_SAVE_COUNT), withRecord);
        QMenu* context = frame.TrackPopupMenu(QPoint(100, 100));
        ASSERT_NE(context, nullptr);
        ASSERT_EQ(context->actions().size(), 6);
        EXPECT_EQ(context->actions().at(0)->text(), "Meas Execute");
        EXPECT_FALSE(context->actions().at(0)->isEnabled());  // no port
        EXPECT_TRUE(context->actions().at(2)->isEnabled());
        EXPECT_EQ(context->actions().at(5)->isEnabled(), withRecord);  // Save Append
        context->close();
        RADDATA record{};
        run.app->Document()->m_radData.AddData(record);
    }
}

TEST(MainFrame, TerminationSignalClosesWithoutQuestionAndStopsTheInterval) {
    ConnectedApp run;
    ASSERT_TRUE(run.started);
    run.app->View()->m_controller.m_scheduler.StartInterval();
    run.app->OnTerminationSignal();
    EXPECT_FALSE(run.app->Frame()->isVisible());
    EXPECT_FALSE(run.app->View()->IsIntervalOn());
    run.app.reset();
    EXPECT_EQ(run.folder.StoredPort(), 1);
}

// Which ports open now is the port map's decision (PortMapTest): the dialog lists those with
// none chosen; OK without a choice keeps the previous port, Cancel refuses.
TEST(PortDialog, ListsThePortsThatOpenAndReturnsTheChosenOne) {
    Application();
    RunFolder folder;
    FakeWallClock clock(kNoonAtDefaultSite);
    auto simulator = StartSimulator(folder, clock);
    ASSERT_TRUE(simulator);
    const CPortMap map(folder.PortsDir());
    CComSelDlg dialog(map, Language::English);
    QStringList entries;
    ModalScript answers;
    answers
        .Then([&entries](QWidget* modal) {
            entries = Entries(modal);
            EXPECT_EQ(static_cast<CComSelDlg*>(modal)->m_combo->currentIndex(), -1);
            static_cast<QDialog*>(modal)->accept();
        })
        .Then([](QWidget* modal) {
            static_cast<CComSelDlg*>(modal)->m_combo->setCurrentIndex(0);
            static_cast<QDialog*>(modal)->accept();
        })
        .Then([](QWidget* modal) { static_cast<QDialog*>(modal)->reject(); });
    int port = 7;
    ASSERT_TRUE(dialog.ChoosePort(port));
    EXPECT_EQ(port, 7);
    EXPECT_EQ(entries.value(0).toStdString(), map.Label(1));
    ASSERT_TRUE(dialog.ChoosePort(port));
    EXPECT_EQ(port, 1);
    EXPECT_FALSE(dialog.ChoosePort(port));
}

TEST(StartUp, CancelInThePortDialogEndsWithoutAWindow) {
    RunFolder folder;
    FakeWallClock clock(kNoonAtDefaultSite);
    auto app = MakeApp(folder, clock);
    QStringList seen;
    ModalScript answers;
    answers.Then(Look(seen));
    EXPECT_FALSE(app->InitInstance());
    EXPECT_EQ(seen, QStringList{"COM Port"});
    EXPECT_FALSE(app->Frame()->WasShown());
    app.reset();
    EXPECT_EQ(folder.StoredPort(), -1);  // the settings are still stored
}

TEST(StartUp, CtrlNAsksForAPortListingNoneInUse) {
    ConnectedApp run;
    ASSERT_TRUE(run.started);
    CMainFrame& frame = *run.app->Frame();
    frame.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&frame));
    QStringList entries{"not asked"};
    ModalScript answers;
    answers.Then([&entries](QWidget* modal) {
        entries = Entries(modal);
        static_cast<QDialog*>(modal)->reject();
    });
    QTest::keyClick(&frame, Qt::Key_N, Qt::ControlModifier);
    ASSERT_TRUE(WaitUntil([&entries] { return !entries.contains("not asked"); }));
    EXPECT_FALSE(entries.join('\n').contains("COM1 ("));  // the port in use
    ASSERT_TRUE(WaitUntil([] { return QApplication::activeModalWidget() == nullptr; }));
    EXPECT_TRUE(run.app->Document()->m_link.IsOpen());  // Cancel keeps the connection
}

// The text itself is the document's (SetupTest).
TEST(HelpMenu, SensorInformationAndAboutShowTheirTexts) {
    ConnectedApp run;
    ASSERT_TRUE(run.started);
    QStringList seen;
    ModalScript answers;
    answers.Then(Look(seen, {"sensorText"}));
    ASSERT_TRUE(RunCommand(*run.app, ID_SENSOR_INFO));
    EXPECT_EQ(seen.value(0), "Sensor Information");
    EXPECT_EQ(seen.value(1).toStdString(), run.app->Document()->GetSensorInfoText());
    EXPECT_TRUE(seen.value(1).startsWith("Sensor ID: KT-530\n"));

    answers.Then(Look(seen, {"aboutVersion", "aboutBuild", "aboutHome"}));
    ASSERT_TRUE(RunCommand(*run.app, ID_APP_ABOUT));
    EXPECT_EQ(seen,
              (QStringList{"About Halvo", "Halvo530 Version 5.0", CAboutDlg::BuildLine(),
                           QString::fromStdString("Settings and logs in " + run.folder.Path())}));
}

// The preview lays the page out on the landscape printer page, not in the window.
TEST(Printing, PreviewDrawsThePageForThePrinterAndSetupEditsTheSamePrinter) {
    OfflineApp run;
    ASSERT_TRUE(run.started);
    COrvelDoc& doc = *run.app->Document();
    QPrinter& printer = run.app->Printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageOrientation(QPageLayout::Landscape);
    DrawArea drawn;
    int pages = 0;
    QString setup;
    ModalScript answers;
    answers
        .Then([&](QWidget* modal) {
            // The window repaints meanwhile; draw the preview again and look right after.
            auto* preview = modal->findChild<QPrintPreviewWidget*>();
            ASSERT_NE(preview, nullptr);
            preview->updatePreview();
            drawn = {doc.m_drawWidth, doc.m_drawHeight};
            pages = preview->pageCount();
            static_cast<QDialog*>(modal)->reject();
        })
        .Then([&setup](QWidget* modal) {
            setup = modal->metaObject()->className();
            static_cast<QDialog*>(modal)->reject();
        });
    ASSERT_TRUE(RunCommand(*run.app, ID_FILE_PRINT_PREVIEW));
    ASSERT_TRUE(RunCommand(*run.app, ID_FILE_PRINT_SETUP));
    EXPECT_EQ(pages, 1);
    const DrawArea area = PrinterDrawArea(PrinterCapsOf(printer));
    EXPECT_EQ(drawn.width, area.width);
    EXPECT_EQ(drawn.height, area.height);
    EXPECT_GT(drawn.width, drawn.height);
    EXPECT_EQ(setup, "QPageSetupDialog");
}
