// The "Interval Measurement" dialog: spins and seconds, file naming, memo, Start and Cancel. The
// checks before a start are the core's (IntervalStartCheckTest); here a refusal keeps the dialog.
#include <gtest/gtest.h>

#include <QFileDialog>
#include <QRadioButton>
#include <QSpinBox>
#include <array>
#include <filesystem>

#include "document/OrvelDoc.h"
#include "measurement/IntervalScheduler.h"
#include "measurement/MeasurementSequence.h"
#include "measurement/qt/IntDlg.h"
#include "tests/support/Fakes.h"
#include "tests/support/qt/DialogTestSupport.h"

namespace {

namespace fs = std::filesystem;

constexpr int kSpins[] = {IDC_FROM_HOUR, IDC_FROM_MINUTE, IDC_TO_HOUR, IDC_TO_MINUTE, IDC_PERIOD};

class IntDlgTest : public ::testing::Test {
protected:
    IntDlgTest() {
        doc.SetMessageBox(&messages);
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
        std::array<int64_t, 3> stored;
    } cases[] = {
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
        EXPECT_EQ((std::array{doc.m_intervalStart, doc.m_intervalEnd, doc.m_intervalPeriod}),
                  c.stored);
        scheduler.StopInterval(0);
    }
}

// A memo held longer than fifty characters is refused with the focus on it. A start the core
// refuses shows its message and the dialog again with the values entered (the file with the
// extension it gained), storing and starting nothing; the next Start stores every setting and
// starts the schedule (which shows its display, IntervalScheduleTest).
TEST_F(IntDlgTest, RefusedStartsKeepTheDialogAndStartStoresEverySetting) {
    const std::string nowhere = folder.Path() + "nowhere/roof";
    doc.m_dataMemo = std::string(51, 'm');
    Refusal refusal;
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
            EXPECT_EQ(TextOf(dlg, IDC_FILE).toStdString(), nowhere + ".wsx");
            EXPECT_EQ(messages.shown, std::vector<std::string>{"Invalid Data Folder"});
            EXPECT_FALSE(fs::exists(doc.m_cfgPath) || scheduler.IsOn());
            Click(dlg, IDC_AUTO_NAME);
            SetText(dlg, IDC_FOLDER, QString::fromStdString(data));
        },
        1));
    EXPECT_TRUE(Run());
    EXPECT_EQ(refusal.message, "Please enter no more than 50 characters.");
    EXPECT_EQ(refusal.focused, IDC_MEMO);
    const COrvelSettings s = StoredSettings(doc);
    EXPECT_EQ(
        std::tie(s.m_dataMemo, s.m_autoStart, s.m_autoFileName, s.m_dataFolder, s.m_intervalFile),
        std::tuple(std::string(50, 'm'), 1, 1, data, nowhere + ".wsx"));
    EXPECT_TRUE(scheduler.IsOn());
}

// Each naming radio enables its own edit and "Ref." button (the states of file edit, file
// "Ref.", folder edit and folder "Ref." as '0' and '1'). The folder browser starts in the entered
// folder and the choice gains a separator; the file button offers the save dialog with the data
// file filters on the entered file, and the name typed gains ".wsx". Cancel then leaves the
// document as it was.
TEST_F(IntDlgTest, NamingRadiosAndRefButtonsFillTheDialogAndCancelChangesNothing) {
    const std::string chosen = folder.Path() + "chosen";
    fs::create_directory(chosen);
    doc.m_intervalFile = data + "roof.wsx";  // named automatically, as by default
    const std::string before = doc.StoreToBytes();
    QStringList seen;  // in the order the dialogs show them
    const auto noteStates = [&seen](QWidget* dlg) {
        QString states = Control<QRadioButton>(dlg, IDC_AUTO_NAME)->isChecked() ? "auto " : "user ";
        for (int id : {IDC_FILE, IDC_FILE_REF, IDC_FOLDER, IDC_FOLDER_REF}) {
            states += Control<QWidget>(dlg, id)->isEnabled() ? '1' : '0';
        }
        seen << states;
    };
    ModalScript script;
    script
        .Then([&](QWidget* dlg) {
            noteStates(dlg);
            Click(dlg, IDC_FOLDER_REF);
        })
        .Then([&](QWidget* w) {
            auto* browser = qobject_cast<QFileDialog*>(w);
            ASSERT_NE(browser, nullptr);
            seen << browser->directory().absolutePath();
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
            seen << fd->nameFilters() << fd->selectedFiles().value(0);
            TypeIntoFileDialog(fd, data + "wall");
        })
        .Then(Inspect(
            [&](QWidget* dlg) { seen << TextOf(dlg, IDC_FOLDER) << TextOf(dlg, IDC_FILE); }));
    EXPECT_FALSE(Run());
    const auto q = [](const std::string& text) { return QString::fromStdString(text); };
    EXPECT_EQ(seen, (QStringList{"auto 0011", q(data.substr(0, data.size() - 1)), "user 1100",
                                 "Halvo Data Files(*.wsx) (*.wsx)", "All Files(*.*) (*)",
                                 q(data + "roof.wsx"), q(chosen + "/"), q(data + "wall.wsx")}));
    EXPECT_EQ(doc.StoreToBytes(), before);
    EXPECT_FALSE(fs::exists(doc.m_cfgPath) || scheduler.IsOn());
}

}  // namespace
