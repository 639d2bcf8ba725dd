// The main window: menus, toolbar, accelerators, command enabling, languages and closing.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
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
#include "tests/support/qt/ModalScript.h"

using namespace apptest;

namespace {

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

// The frame takes its menus, toolbar and texts from the resources (checked there against their
// reference file); here: the commands reach the bars and the texts follow the language.
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
        EXPECT_EQ(MenuTexts(TopMenu(frame, 2)).value(0), QString::fromUtf8(c.execute));
        QAction* execute = frame.CommandAction(ID_MEAS_EXECUTE);
        EXPECT_EQ(execute->statusTip(), QString::fromUtf8(c.tip));
        EXPECT_TRUE(frame.ToolBar()->actions().contains(execute));
        EXPECT_EQ(frame.MessagePane()->text(), QString::fromUtf8(c.ready));
        EXPECT_EQ(frame.windowTitle(), "old.wsx - Halvo");
        EXPECT_EQ(frame.CommandAction(ID_SAVE_COUNT), nullptr);  // reachable by no menu or key
    }
}

TEST(MainFrame, ExecuteNeedsAnOpenPortAndNoRunningMeasurement) {
    OfflineApp offline;
    ASSERT_TRUE(offline.started);
    EXPECT_FALSE(Enabled(*offline.app->Frame(), ID_MEAS_EXECUTE));
    EXPECT_FALSE(Enabled(*offline.app->Frame(), ID_INTERVAL_MEAS));

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
    QAction* save = run.app->Frame()->CommandAction(ID_FILE_SAVE);
    for (bool withRecord : {false, true}) {
        for (unsigned id : {ID_FILE_SAVE, ID_SAVE_APPEND, ID_SAVE_COUNT}) {
            EXPECT_EQ(router.IsEnabled(id), withRecord) << id;
        }
        emit TopMenu(*run.app->Frame(), 0)->aboutToShow();
        EXPECT_EQ(save->isEnabled(), withRecord);
        RADDATA record{};
        run.app->Document()->m_radData.AddData(record);
    }
}

TEST(MainFrame, ContextMenuOffersMenu139WithTheSameEnabling) {
    OfflineApp run;
    ASSERT_TRUE(run.started);
    QMenu* menu = run.app->Frame()->TrackPopupMenu(QPoint(100, 100));
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(MenuTexts(menu), (QStringList{"Meas Execute", "", "Meas Setting", "Graph Setting", "",
                                            "Save Append"}));
    EXPECT_FALSE(menu->actions().at(0)->isEnabled());  // no port
    EXPECT_TRUE(menu->actions().at(2)->isEnabled());
    EXPECT_FALSE(menu->actions().at(5)->isEnabled());  // nothing to save
    menu->close();
}

TEST(MainFrame, ClosingDuringIntervalMeasurementAsksFirst) {
    ConnectedApp run;
    ASSERT_TRUE(run.started);
    CMainFrame& frame = *run.app->Frame();
    COrvelView& view = *run.app->View();
    view.m_controller.m_scheduler.StartInterval();

    ModalScript answers;
    answers.Then([](QWidget* box) { static_cast<QMessageBox*>(box)->reject(); });
    EXPECT_FALSE(frame.close());
    EXPECT_TRUE(frame.isVisible());
    EXPECT_TRUE(view.IsIntervalOn());
    EXPECT_TRUE(view.m_pTimeDlg->IsTopmost());
    EXPECT_TRUE(view.m_pTimeDlg->isVisible());

    QString question;
    answers.Then([&question](QWidget* box) {
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

    ModalScript answers;
    answers.Then([](QWidget* box) { static_cast<QMessageBox*>(box)->buttons().front()->click(); });
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
