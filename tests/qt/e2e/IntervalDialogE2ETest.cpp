// Interval measurement started from its settings dialog against the simulated instruments, and
// stopped with Break.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTimer>
#include <QtTest/QTest>
#include <filesystem>

#include "app/CommandRouter.h"
#include "app/MainFrame.h"
#include "data/RadData.h"
#include "display/qt/OrvelView.h"
#include "document/OrvelSettings.h"
#include "measurement/qt/IntDlg.h"
#include "measurement/qt/TimeDlg.h"
#include "resources/ResourceIds.h"
#include "tests/support/ScopedTimeZone.h"
#include "tests/support/qt/AppHarness.h"

using namespace apptest;

namespace {

template <typename T>
T* Control(QWidget* dialog, int id) {
    return dialog->findChild<T*>(QString::number(id));
}

// Fills the open "Interval Measurement" dialog: the whole day, every minute, automatic daily
// files in folder; then Start.
void AnswerIntervalDialog(const std::string& folder, bool& answered) {
    QTimer::singleShot(50, [folder, &answered] {
        auto* dialog = qobject_cast<CIntDlg*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            AnswerIntervalDialog(folder, answered);
            return;
        }
        Control<QSpinBox>(dialog, CIntDlg::IDC_FROM_HOUR)->setValue(0);
        Control<QSpinBox>(dialog, CIntDlg::IDC_FROM_MINUTE)->setValue(0);
        Control<QSpinBox>(dialog, CIntDlg::IDC_TO_HOUR)->setValue(23);
        Control<QSpinBox>(dialog, CIntDlg::IDC_TO_MINUTE)->setValue(59);
        Control<QSpinBox>(dialog, CIntDlg::IDC_PERIOD)->setValue(1);
        Control<QRadioButton>(dialog, CIntDlg::IDC_AUTO_NAME)->setChecked(true);
        Control<QLineEdit>(dialog, CIntDlg::IDC_FOLDER)->setText(QString::fromStdString(folder));
        answered = true;
        dialog->accept();
    });
}

void AnswerStopQuestion(bool& asked) {
    QTimer::singleShot(50, [&asked] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            AnswerStopQuestion(asked);
            return;
        }
        asked = box->text() == "Stop Interval Measurement.";
        box->defaultButton()->click();  // OK
    });
}

}  // namespace

TEST(EndToEnd, IntervalStartedFromItsDialogWritesTheDaysFilesUntilBreak) {
    RunFolder folder;
    folder.WriteConfig(1);
    FakeWallClock clock(kNoonAtDefaultSite - 30);
    const ScopedTimeZone utc("UTC");
    {
        auto simulator = StartSimulator(folder, clock);
        ASSERT_TRUE(simulator);
        auto app = MakeApp(folder, clock);
        ASSERT_TRUE(app->InitInstance());
        const std::string dataFolder = folder.Path() + "days";
        std::filesystem::create_directories(dataFolder);

        bool answered = false;
        AnswerIntervalDialog(dataFolder + "//", answered);
        app->Router().Execute(ID_INTERVAL_MEAS);
        ASSERT_TRUE(WaitUntil([&] { return app->View()->IsIntervalOn(); }));
        EXPECT_TRUE(answered);
        EXPECT_TRUE(app->View()->m_pTimeDlg->isVisible());
        EXPECT_FALSE(app->Router().IsEnabled(ID_MEAS_EXECUTE));

        // The settings file already holds the schedule, the folder as it was entered.
        COrvelSettings stored(folder.Path());
        ASSERT_EQ(stored.LoadSaveConfig(folder.ConfigPath(), COrvelSettings::kLoad), 1);
        EXPECT_EQ(stored.m_intervalPeriod, 60);
        EXPECT_EQ(stored.m_dataFolder, dataFolder + "//");

        clock.Set(kNoonAtDefaultSite + 1);  // the 03:00 UTC slot is crossed at the next tick
        const std::string text = dataFolder + "/20240621.txt";
        EXPECT_TRUE(WaitUntil([&] { return std::filesystem::exists(text); }, 20000));
        EXPECT_EQ(CRadData().LoadFile((dataFolder + "/VS20240621.wsx").c_str()), 1);

        bool asked = false;
        AnswerStopQuestion(asked);
        app->View()->m_pTimeDlg->m_break->click();
        ASSERT_TRUE(WaitUntil([&] { return !app->View()->IsIntervalOn(); }));
        EXPECT_TRUE(asked);
        EXPECT_FALSE(app->View()->m_pTimeDlg->isVisible());
    }
}
