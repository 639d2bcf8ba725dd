// The main window: menus, toolbar, accelerators, command enabling, languages and closing.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QToolBar>

#include "app/CommandRouter.h"
#include "app/MainFrame.h"
#include "app/OrvelDocHost.h"
#include "display/qt/OrvelView.h"
#include "document/OrvelDoc.h"
#include "link/qt/ComSelDlg.h"
#include "measurement/qt/MeasDlg.h"
#include "measurement/qt/TimeDlg.h"
#include "resources/ResourceIds.h"
#include "tests/support/qt/AppHarness.h"

using namespace apptest;

namespace {

// An application started with a file name: no port, no instruments, no dialog.
struct OfflineApp {
    explicit OfflineApp(Language language = Language::English)
        : clock(kNoonAtDefaultSite), app(MakeApp(folder, clock, language)) {
        started = app->InitInstance({"halvo", QString::fromStdString(folder.Path() + "old.wsx")});
    }
    CMainFrame& Frame() const { return *app->Frame(); }
    RunFolder folder;
    FakeWallClock clock;
    std::unique_ptr<COrvelApp> app;
    bool started = false;
};

// An application connected to the simulated instruments on COM1.
struct ConnectedApp {
    ConnectedApp() : clock(kNoonAtDefaultSite) {
        folder.WriteConfig(1);
        simulator = StartSimulator(folder, clock);
        app = MakeApp(folder, clock);
        started = simulator != nullptr && app->InitInstance();
    }
    RunFolder folder;
    FakeWallClock clock;
    std::unique_ptr<CSimulator> simulator;
    std::unique_ptr<COrvelApp> app;
    bool started = false;
};

QStringList MenuTexts(const QMenu* menu) {
    QStringList texts;
    for (const QAction* action : menu->actions()) {
        texts << action->text();
    }
    return texts;
}

QMenu* TopMenu(CMainFrame& frame, int index) {
    return frame.menuBar()->actions().at(index)->menu();
}

bool Enabled(CMainFrame& frame, unsigned id) {
    frame.UpdateCommandUI();
    QAction* action = frame.CommandAction(id);
    return action != nullptr && action->isEnabled();
}

}  // namespace

TEST(MainFrame, SaveWithCountIsReachableByNoMenuButtonOrKey) {
    OfflineApp run;
    ASSERT_TRUE(run.started);
    CMainFrame& frame = run.Frame();
    const QStringList file = MenuTexts(TopMenu(frame, 0));
    EXPECT_EQ(file, (QStringList{"Save(&A)...", "Save Append", "", "Print(&P)...\tCtrl+P",
                                 "Print Preview(&V)", "Print Setup(&R)...", "", "Exit(&X)"}));
    for (const QAction* action : frame.findChildren<QAction*>()) {
        EXPECT_NE(CCommandRouter::CommandOf(action), ID_SAVE_COUNT) << action->text().toStdString();
    }
    for (const QAction* action : frame.ToolBar()->actions()) {
        EXPECT_NE(CCommandRouter::CommandOf(action), ID_SAVE_COUNT);
    }
    EXPECT_EQ(frame.CommandAction(ID_SAVE_COUNT), nullptr);
}

TEST(MainFrame, MenusToolbarAndStatusBarFollowTheResources) {
    OfflineApp run;
    ASSERT_TRUE(run.started);
    CMainFrame& frame = run.Frame();
    QStringList titles;
    for (const QAction* top : frame.menuBar()->actions()) {
        titles << top->text();
    }
    EXPECT_EQ(titles, (QStringList{"File(&F)", "View(&V)", "Measure", "Setting", "Help(&H)"}));
    EXPECT_EQ(MenuTexts(TopMenu(frame, 2)), (QStringList{"Execute", "Interval Meas."}));
    EXPECT_EQ(MenuTexts(TopMenu(frame, 4)),
              (QStringList{"About Halvo (&A)...", "Sensor Information"}));

    std::vector<unsigned> buttons;
    for (const QAction* action : frame.ToolBar()->actions()) {
        buttons.push_back(action->isSeparator() ? 0u : CCommandRouter::CommandOf(action));
        if (!action->isSeparator()) {
            EXPECT_EQ(action->icon().pixmap(16, 15).size(), QSize(16, 15));
        }
    }
    EXPECT_EQ(buttons, (std::vector<unsigned>{57603, 32794, 0, 32784, 0, 32772, 32771, 0, 32775, 0,
                                              57607, 57664}));
    QAction* execute = frame.CommandAction(ID_MEAS_EXECUTE);
    EXPECT_EQ(execute->statusTip(), "Measurement Execute");
    EXPECT_EQ(execute->toolTip(), "Measure");
    EXPECT_EQ(frame.MessagePane()->text(), "Ready");
    EXPECT_NE(frame.statusBar()->findChild<QLabel*>("indicator59142"), nullptr);  // KANA
    EXPECT_EQ(frame.windowTitle(), "old.wsx - Halvo");
}

TEST(MainFrame, AcceleratorsReachTheirCommandsAndEditingKeysStayDisabled) {
    OfflineApp run;
    ASSERT_TRUE(run.started);
    run.Frame().UpdateCommandUI();
    std::map<QString, std::pair<unsigned, bool>> keys;
    for (const QAction* action : run.Frame().AcceleratorActions()) {
        keys[action->shortcut().toString()] = {CCommandRouter::CommandOf(action),
                                               action->isEnabled()};
    }
    EXPECT_EQ(keys.at("Ctrl+N"), std::make_pair(57600u, true));
    EXPECT_EQ(keys.at("Ctrl+O"), std::make_pair(57601u, true));
    EXPECT_EQ(keys.at("Ctrl+P"), std::make_pair(57607u, true));
    EXPECT_EQ(keys.at("Ctrl+S"), std::make_pair(57603u, false));  // nothing measured yet
    for (const char* editing : {"Ctrl+Z", "Alt+Backspace", "Ctrl+X", "Shift+Del", "Ctrl+C",
                                "Ctrl+Ins", "Ctrl+V", "Shift+Ins", "F6", "Shift+F6"}) {
        EXPECT_FALSE(keys.at(editing).second) << editing;
    }
    EXPECT_EQ(keys.size(), 14u);
}

TEST(MainFrame, ExecuteNeedsAnOpenPortAndNoRunningMeasurement) {
    OfflineApp offline;
    ASSERT_TRUE(offline.started);
    EXPECT_FALSE(Enabled(offline.Frame(), ID_MEAS_EXECUTE));
    EXPECT_FALSE(Enabled(offline.Frame(), ID_INTERVAL_MEAS));

    ConnectedApp run;
    ASSERT_TRUE(run.started);
    CMainFrame& frame = *run.app->Frame();
    COrvelView& view = *run.app->View();
    EXPECT_TRUE(Enabled(frame, ID_MEAS_EXECUTE));
    EXPECT_TRUE(Enabled(frame, ID_INTERVAL_MEAS));

    view.m_controller.m_sequence.m_measuring = 1;
    EXPECT_FALSE(Enabled(frame, ID_MEAS_EXECUTE));
    EXPECT_TRUE(Enabled(frame, ID_INTERVAL_MEAS));
    EXPECT_FALSE(run.app->Router().IsEnabled(ID_FILE_NEW));
    view.m_controller.m_sequence.m_measuring = 0;

    view.m_controller.m_scheduler.StartInterval();
    EXPECT_FALSE(Enabled(frame, ID_MEAS_EXECUTE));
    EXPECT_FALSE(Enabled(frame, ID_INTERVAL_MEAS));
    EXPECT_TRUE(view.m_pTimeDlg->isVisible());
    view.m_controller.m_scheduler.StopInterval(0);
    EXPECT_TRUE(Enabled(frame, ID_MEAS_EXECUTE));
    EXPECT_FALSE(view.m_pTimeDlg->isVisible());

    run.app->Document()->m_link.ClosePort();
    EXPECT_FALSE(Enabled(frame, ID_MEAS_EXECUTE));
}

// Checked by the router and again just before the File menu opens.
TEST(MainFrame, SaveCommandsNeedARecord) {
    OfflineApp run;
    ASSERT_TRUE(run.started);
    CCommandRouter& router = run.app->Router();
    QAction* save = run.Frame().CommandAction(ID_FILE_SAVE);
    for (bool withRecord : {false, true}) {
        for (unsigned id : {ID_FILE_SAVE, ID_SAVE_APPEND, ID_SAVE_COUNT}) {
            EXPECT_EQ(router.IsEnabled(id), withRecord) << id;
        }
        emit TopMenu(run.Frame(), 0)->aboutToShow();
        EXPECT_EQ(save->isEnabled(), withRecord);
        RADDATA record{};
        run.app->Document()->m_radData.AddData(record);
    }
}

TEST(MainFrame, ToolbarAndStatusBarTogglesAreCheckItems) {
    OfflineApp run;
    ASSERT_TRUE(run.started);
    CMainFrame& frame = run.Frame();
    QAction* toolbar = frame.CommandAction(ID_VIEW_TOOLBAR);
    frame.UpdateCommandUI();
    EXPECT_TRUE(toolbar->isCheckable());
    EXPECT_TRUE(toolbar->isChecked());
    ASSERT_TRUE(RunCommand(*run.app, ID_VIEW_TOOLBAR));
    EXPECT_FALSE(frame.ToolBar()->isVisible());
    EXPECT_FALSE(toolbar->isChecked());
    ASSERT_TRUE(RunCommand(*run.app, ID_VIEW_STATUS_BAR));
    EXPECT_FALSE(frame.statusBar()->isVisible());
}

TEST(MainFrame, JapaneseInterfaceTakesEveryTextFromTheJapaneseColumn) {
    OfflineApp run(Language::Japanese);
    ASSERT_TRUE(run.started);
    CMainFrame& frame = run.Frame();
    EXPECT_EQ(frame.menuBar()->actions().at(0)->text(), QString::fromUtf8("ﾌｧｲﾙ(&F)"));
    EXPECT_EQ(MenuTexts(TopMenu(frame, 2)),
              (QStringList{QString::fromUtf8("測定実行"), QString::fromUtf8("インターバル測定")}));
    QAction* execute = frame.CommandAction(ID_MEAS_EXECUTE);
    EXPECT_EQ(execute->statusTip(), QString::fromUtf8("測定を実行する"));
    EXPECT_EQ(execute->toolTip(), QString::fromUtf8("測定実行"));
    EXPECT_EQ(frame.MessagePane()->text(), QString::fromUtf8("ﾚﾃﾞｨ"));
    EXPECT_EQ(run.app->View()->m_pMeasDlg->windowTitle(), QString::fromUtf8("測定中"));
    EXPECT_EQ(run.app->View()->m_pTimeDlg->windowTitle(),
              QString::fromUtf8("インターバル測定実行中"));
    EXPECT_EQ(run.app->DocumentHost()->PortDialog()->m_title, QString::fromUtf8("ポート選択"));
    EXPECT_EQ(frame.windowTitle(), QString::fromUtf8("old.wsx - Halvo"));
}

TEST(MainFrame, ContextMenuOffersMenu139WithTheSameEnabling) {
    OfflineApp run;
    ASSERT_TRUE(run.started);
    QMenu* menu = run.Frame().TrackPopupMenu(QPoint(100, 100));
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(MenuTexts(menu), (QStringList{"Meas Execute", "", "Meas Setting", "Graph Setting", "",
                                            "Save Append"}));
    EXPECT_FALSE(menu->actions().at(0)->isEnabled());  // no port
    EXPECT_TRUE(menu->actions().at(2)->isEnabled());
    EXPECT_FALSE(menu->actions().at(5)->isEnabled());  // nothing to save
    menu->close();
}

TEST(MainFrame, CommandsRunAfterTheTriggeringEventAndOnlyWhenEnabled) {
    OfflineApp run;
    ASSERT_TRUE(run.started);
    CCommandRouter& router = run.app->Router();
    int runs = 0;
    router.Add(40000, [&runs] { ++runs; });
    router.Post(40000);
    EXPECT_EQ(runs, 0);
    ASSERT_TRUE(WaitUntil([&runs] { return runs == 1; }, 2000));
    bool allowed = false;
    router.Add(
        40001, [&runs] { ++runs; }, [&allowed] { return allowed; });
    EXPECT_FALSE(router.Execute(40001));
    allowed = true;
    EXPECT_TRUE(router.Execute(40001));
    EXPECT_EQ(runs, 2);
    EXPECT_FALSE(router.Execute(40002));  // no handler
}

TEST(MainFrame, ClosingDuringIntervalMeasurementAsksFirst) {
    ConnectedApp run;
    ASSERT_TRUE(run.started);
    CMainFrame& frame = *run.app->Frame();
    COrvelView& view = *run.app->View();
    view.m_controller.m_scheduler.StartInterval();

    AnswerModal([](QWidget* box) { static_cast<QMessageBox*>(box)->reject(); });
    EXPECT_FALSE(frame.close());
    EXPECT_TRUE(frame.isVisible());
    EXPECT_TRUE(view.IsIntervalOn());
    EXPECT_TRUE(view.m_pTimeDlg->IsTopmost());
    EXPECT_TRUE(view.m_pTimeDlg->isVisible());

    QString question;
    AnswerModal([&question](QWidget* box) {
        auto* message = static_cast<QMessageBox*>(box);
        question = message->text();
        message->buttons().front()->click();
    });
    EXPECT_TRUE(frame.close());
    EXPECT_EQ(question, "Stop Interval Measurement.");
    EXPECT_FALSE(view.IsIntervalOn());
    EXPECT_FALSE(frame.isVisible());
}

// The toolbar follows a Break of the interval measurement at once, with no menu opened.
TEST(MainFrame, ToolbarIsEnabledAgainWhenTheIntervalDialogsBreakStopsIt) {
    ConnectedApp run;
    ASSERT_TRUE(run.started);
    CMainFrame& frame = *run.app->Frame();
    COrvelView& view = *run.app->View();
    view.m_controller.m_scheduler.StartInterval();
    frame.UpdateCommandUI();
    QAction* execute = frame.CommandAction(ID_MEAS_EXECUTE);
    QAction* interval = frame.CommandAction(ID_INTERVAL_MEAS);
    ASSERT_FALSE(execute->isEnabled());
    ASSERT_FALSE(interval->isEnabled());

    AnswerModal([](QWidget* box) { static_cast<QMessageBox*>(box)->buttons().front()->click(); });
    view.m_pTimeDlg->m_break->click();
    EXPECT_TRUE(WaitUntil([&] { return !view.IsIntervalOn(); }));
    EXPECT_TRUE(WaitUntil([&] { return execute->isEnabled() && interval->isEnabled(); }, 3000));
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
