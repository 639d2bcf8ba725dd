// The "Interval Measurement" dialog: spins and seconds, file naming, memo, Start and Cancel. The
// checks before a start are the core's (IntervalStartCheckTest); here a refusal keeps the dialog.
#include <gtest/gtest.h>

#include <QFileDialog>
#include <QRadioButton>
#include <QSpinBox>
#include <filesystem>

#include "document/OrvelDoc.h"
#include "measurement/IntervalScheduler.h"
#include "measurement/MeasurementSequence.h"
#include "measurement/qt/IntDlg.h"
#include "tests/support/Fakes.h"
#include "tests/support/TestRecords.h"
#include "tests/support/qt/DialogTestSupport.h"

namespace {

namespace fs = std::filesystem;

constexpr int kSpins[] = {IDC_FROM_HOUR, IDC_FROM_MINUTE, IDC_TO_HOUR, IDC_TO_MINUTE, IDC_PERIOD};

class IntDlgTest : public ::testing::Test {
protected:
    IntDlgTest() {
        doc.SetMessageBox(&messages);
        FillSampleSet(doc.m_radData, 1);
        doc.m_dataFolder = data;
        fs::create_directory(data);
    }

    bool Run() { return CIntDlg::Run(doc, scheduler, nullptr); }

    TempFolder folder;
    FakeWallClock clock;
    FakeProgress progress;
    FakeIntervalDisplay display;
    FakeViewEvents events;
    FakeMessageBox messages;
    COrvelDoc doc{folder.Path()};
    const std::string data = folder.Path() + "data/";  // the data folder the document starts with
    CMeasurementSequence sequence{doc, progress, clock};
    CIntervalScheduler scheduler{doc, sequence, display, events, clock, messages};
};

// Shown as from hour, from minute, to hour, to minute and period in minutes; stored back as
// seconds. The spins wrap at their limits (the last case steps each once).
TEST_F(IntDlgTest, SecondsAreShownAsHoursAndMinutesAndStoredBack) {
    const struct {
        int64_t start, end, period;
        std::vector<int> shown;
        int step;
        int64_t stored[3];
    } cases[] = {
        {21600, 68400, 600, {6, 0, 19, 0, 10}, 0, {21600, 68400, 600}},
        {0, 86340, 5400, {0, 0, 23, 59, 90}, 0, {0, 86340, 5400}},
        {30600, 45000, 60, {8, 30, 12, 30, 1}, 0, {30600, 45000, 60}},
        {82800, 86340, 599940, {23, 0, 23, 59, 9999}, 1, {60, 0, 60}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.period);
        doc.m_intervalStart = c.start;
        doc.m_intervalEnd = c.end;
        doc.m_intervalPeriod = c.period;
        std::vector<int> shown;
        ModalScript script;
        script.Then(Inspect(
            [&](QWidget* dlg) {
                for (int id : kSpins) {
                    auto* spin = Control<QSpinBox>(dlg, id);
                    shown.push_back(spin->value());
                    spin->stepBy(c.step);
                }
            },
            1));
        EXPECT_TRUE(Run());
        EXPECT_EQ(shown, c.shown);
        EXPECT_EQ(doc.m_intervalStart, c.stored[0]);
        EXPECT_EQ(doc.m_intervalEnd, c.stored[1]);
        EXPECT_EQ(doc.m_intervalPeriod, c.stored[2]);
        EXPECT_EQ(StoredSettings(doc).m_intervalPeriod, c.stored[2]);
        EXPECT_TRUE(scheduler.IsOn());
        scheduler.StopInterval(0);
    }
}

// A memo held longer than fifty characters is refused with the focus on it. A start the core
// refuses shows its message and the dialog again with the values entered (the file with the
// extension it gained), storing and starting nothing; the next Start stores every setting and
// starts the schedule with its display.
TEST_F(IntDlgTest, RefusedStartsKeepTheDialogAndStartStoresEverySetting) {
    const std::string nowhere = folder.Path() + "nowhere/roof";
    doc.m_autoStart = 0;
    doc.m_dataMemo = std::string(51, 'm');
    Refusal refusal;
    QString shownAgain;
    ModalScript script;
    script.Then(Inspect(
        [&](QWidget* dlg) {
            Click(dlg, IDC_AUTO_START);
            Click(dlg, IDC_USER_FILE);
            SetText(dlg, IDC_FILE, QString::fromStdString(nowhere));
        },
        1));
    ThenRefused(
        script, refusal, [](QWidget* dlg) { SetText(dlg, IDC_MEMO, QString(50, 'm')); }, 1);
    script.Then(Inspect(
        [&](QWidget* dlg) {
            shownAgain = TextOf(dlg, IDC_FILE);
            EXPECT_EQ(messages.shown, std::vector<std::string>{"Invalid Data Folder"});
            EXPECT_FALSE(fs::exists(doc.m_cfgPath));
            EXPECT_FALSE(scheduler.IsOn());
            Click(dlg, IDC_AUTO_NAME);
            SetText(dlg, IDC_FOLDER, QString::fromStdString(data));
        },
        1));
    EXPECT_TRUE(Run());
    EXPECT_EQ(refusal.message, "Please enter no more than 50 characters.");
    EXPECT_EQ(refusal.focused, IDC_MEMO);
    EXPECT_EQ(shownAgain.toStdString(), nowhere + ".wsx");
    const COrvelSettings stored = StoredSettings(doc);
    EXPECT_EQ(stored.m_dataMemo, std::string(50, 'm'));
    EXPECT_EQ(stored.m_autoStart, 1);
    EXPECT_EQ(stored.m_autoFileName, 1);
    EXPECT_EQ(stored.m_dataFolder, data);
    EXPECT_EQ(stored.m_intervalFile, nowhere + ".wsx");
    EXPECT_TRUE(scheduler.IsOn());
    EXPECT_TRUE(display.visible);
    EXPECT_TRUE(events.timerRunning);
}

// Each naming radio enables its own edit and "Ref." button (the states of file edit, file
// "Ref.", folder edit and folder "Ref." as '0' and '1'). The folder browser starts in the entered
// folder and the choice gains a separator; the file button offers the save dialog on the entered
// file, and the name typed gains ".wsx". Cancel then leaves the document as it was.
TEST_F(IntDlgTest, NamingRadiosAndRefButtonsFillTheDialogAndCancelChangesNothing) {
    const std::string chosen = folder.Path() + "chosen";
    fs::create_directory(chosen);
    doc.m_autoFileName = 1;
    doc.m_intervalFile = data + "roof.wsx";
    std::string states;
    const auto noteStates = [&states](QWidget* dlg) {
        states += Control<QRadioButton>(dlg, IDC_AUTO_NAME)->isChecked() ? "auto " : "user ";
        for (int id : {IDC_FILE, IDC_FILE_REF, IDC_FOLDER, IDC_FOLDER_REF}) {
            states += Control<QWidget>(dlg, id)->isEnabled() ? '1' : '0';
        }
    };
    QString startedIn, initial, shownFolder, shownFile;
    QStringList filters;
    ModalScript script;
    script
        .Then([&](QWidget* dlg) {
            noteStates(dlg);
            Click(dlg, IDC_FOLDER_REF);
        })
        .Then([&](QWidget* w) {
            auto* browser = qobject_cast<QFileDialog*>(w);
            ASSERT_NE(browser, nullptr);
            startedIn = browser->directory().absolutePath();
            TypeIntoFileDialog(browser, chosen);
        })
        .Then([&](QWidget* dlg) {
            Click(dlg, IDC_USER_FILE);
            noteStates(dlg);
            Click(dlg, IDC_FILE_REF);
        })
        .Then([&](QWidget* w) {
            auto* fd = qobject_cast<QFileDialog*>(w);
            ASSERT_NE(fd, nullptr);
            filters = fd->nameFilters();
            initial = fd->selectedFiles().value(0);
            TypeIntoFileDialog(fd, data + "wall");
        })
        .Then(Inspect([&](QWidget* dlg) {
            shownFolder = TextOf(dlg, IDC_FOLDER);
            shownFile = TextOf(dlg, IDC_FILE);
        }));
    EXPECT_FALSE(Run());
    EXPECT_EQ(states, "auto 0011user 1100");
    EXPECT_EQ(startedIn.toStdString(), data.substr(0, data.size() - 1));
    EXPECT_EQ(shownFolder.toStdString(), chosen + "/");
    EXPECT_EQ(filters, (QStringList{"Halvo Data Files(*.wsx) (*.wsx)", "All Files(*.*) (*)"}));
    EXPECT_EQ(initial.toStdString(), data + "roof.wsx");
    EXPECT_EQ(shownFile.toStdString(), data + "wall.wsx");
    EXPECT_EQ(doc.m_autoFileName, 1);
    EXPECT_EQ(doc.m_dataFolder, data);
    EXPECT_EQ(doc.m_intervalFile, data + "roof.wsx");
    EXPECT_FALSE(fs::exists(doc.m_cfgPath));
    EXPECT_FALSE(scheduler.IsOn());
}

}  // namespace
