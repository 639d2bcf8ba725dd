// The "Interval Measurement" dialog: spins and seconds, file naming, memo, Start and Cancel. The
// checks before a start are the core's (IntervalStartCheckTest); here a refusal keeps the dialog.
#include <gtest/gtest.h>

#include <QFileDialog>
#include <QRadioButton>
#include <QSpinBox>
#include <filesystem>
#include <memory>

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

QSpinBox* Spin(QWidget* dlg, int id) {
    return Control<QSpinBox>(dlg, id);
}

class IntDlgTest : public ::testing::Test {
protected:
    IntDlgTest()
        : doc(std::make_unique<COrvelDoc>(folder.Path())),
          sequence(*doc, progress, clock),
          scheduler(*doc, sequence, display, events, clock, messages) {
        doc->SetMessageBox(&messages);
        FillSampleSet(doc->m_radData, 1);
        data = doc->m_dataFolder = folder.Path() + "data/";
        fs::create_directory(data);
    }
    ~IntDlgTest() override { doc.reset(); }

    bool Run() { return CIntDlg::Run(*doc, scheduler, nullptr); }
    // Checks a naming radio, types into its edit and presses Start.
    static ModalScript::Step StartWith(int radio, int edit, const std::string& text) {
        return Inspect(
            [=](QWidget* dlg) {
                Click(dlg, radio);
                SetText(dlg, edit, QString::fromStdString(text));
            },
            1);
    }

    TempFolder folder;
    std::string data;  // the data folder the document starts with
    std::unique_ptr<COrvelDoc> doc;
    FakeWallClock clock;
    FakeProgress progress;
    FakeIntervalDisplay display;
    FakeViewEvents events;
    FakeMessageBox messages;
    CMeasurementSequence sequence;
    CIntervalScheduler scheduler;
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
        doc->m_intervalStart = c.start;
        doc->m_intervalEnd = c.end;
        doc->m_intervalPeriod = c.period;
        std::vector<int> shown;
        ModalScript script;
        script.Then(Inspect(
            [&](QWidget* dlg) {
                for (int id : kSpins) {
                    shown.push_back(Spin(dlg, id)->value());
                    Spin(dlg, id)->stepBy(c.step);
                }
            },
            1));
        EXPECT_TRUE(Run());
        EXPECT_EQ(shown, c.shown);
        EXPECT_EQ(doc->m_intervalStart, c.stored[0]);
        EXPECT_EQ(doc->m_intervalEnd, c.stored[1]);
        EXPECT_EQ(doc->m_intervalPeriod, c.stored[2]);
        EXPECT_EQ(StoredSettings(*doc).m_intervalPeriod, c.stored[2]);
        EXPECT_TRUE(scheduler.IsOn());
        scheduler.StopInterval(0);
    }
}

// Enabled states of file edit, file "Ref.", folder edit and folder "Ref.", as '0' and '1'.
// Cancel then leaves the document as it was.
TEST_F(IntDlgTest, NamingRadioEnablesItsOwnEditAndRefButtonAndCancelChangesNothing) {
    doc->m_autoFileName = 1;
    std::string states;
    ModalScript script;
    script.Then(Inspect([&](QWidget* dlg) {
        states += Control<QRadioButton>(dlg, IDC_AUTO_NAME)->isChecked() ? "auto " : "";
        for (int round = 0; round < 2; ++round) {
            for (int id : {IDC_FILE, IDC_FILE_REF, IDC_FOLDER, IDC_FOLDER_REF}) {
                states += Control<QWidget>(dlg, id)->isEnabled() ? '1' : '0';
            }
            Click(dlg, IDC_USER_FILE);
        }
        Spin(dlg, IDC_PERIOD)->setValue(3);
        SetText(dlg, IDC_FOLDER, "/elsewhere/");
    }));
    EXPECT_FALSE(Run());
    EXPECT_EQ(states, "auto 00111100");
    EXPECT_EQ(doc->m_autoFileName, 1);
    EXPECT_EQ(doc->m_intervalPeriod, 600);
    EXPECT_EQ(doc->m_dataFolder, data);
    EXPECT_FALSE(fs::exists(doc->m_cfgPath));
    EXPECT_FALSE(scheduler.IsOn());
}

// A refused start shows the message and the dialog again with the values entered (the file with
// the extension it gained), stores nothing and starts nothing; the next Start goes ahead.
TEST_F(IntDlgTest, ARefusedStartShowsTheDialogAgainWithoutStoringOrStarting) {
    const std::string nowhere = folder.Path() + "nowhere/roof";
    QString shownAgain;
    ModalScript script;
    script.Then(StartWith(IDC_USER_FILE, IDC_FILE, nowhere)).Then([&](QWidget* dlg) {
        shownAgain = TextOf(dlg, IDC_FILE);
        EXPECT_EQ(messages.shown, std::vector<std::string>{"Invalid Data Folder"});
        EXPECT_FALSE(fs::exists(doc->m_cfgPath));
        EXPECT_FALSE(scheduler.IsOn());
        StartWith(IDC_AUTO_NAME, IDC_FOLDER, data)(dlg);
    });
    EXPECT_TRUE(Run());
    EXPECT_EQ(shownAgain.toStdString(), nowhere + ".wsx");
    EXPECT_TRUE(scheduler.IsOn());
    EXPECT_EQ(StoredSettings(*doc).m_dataFolder, data);
    EXPECT_EQ(StoredSettings(*doc).m_intervalFile, nowhere + ".wsx");
}

// A memo held longer than fifty characters is refused with the focus on it; Start then stores
// every setting and starts the schedule with its display.
TEST_F(IntDlgTest, StartStoresEverySettingOnceTheMemoFits) {
    doc->m_autoStart = 0;
    doc->m_dataMemo = std::string(51, 'm');
    Refusal refusal;
    ModalScript script;
    script.Then(Inspect([](QWidget* dlg) { Click(dlg, IDC_AUTO_START); }, 1));
    ThenRefused(
        script, refusal, [](QWidget* dlg) { SetText(dlg, IDC_MEMO, QString(50, 'm')); }, 1);
    EXPECT_TRUE(Run());
    EXPECT_EQ(refusal.message, "Please enter no more than 50 characters.");
    EXPECT_EQ(refusal.focused, IDC_MEMO);
    const COrvelSettings stored = StoredSettings(*doc);
    EXPECT_EQ(stored.m_dataMemo, std::string(50, 'm'));
    EXPECT_EQ(stored.m_autoStart, 1);
    EXPECT_EQ(stored.m_autoFileName, 1);
    EXPECT_TRUE(scheduler.IsOn());
    EXPECT_TRUE(display.visible);
    EXPECT_TRUE(events.timerRunning);
}

// The folder browser starts in the entered folder and the choice gains a separator; the file
// button offers the save dialog on the entered file, and the name typed gains ".wsx".
TEST_F(IntDlgTest, RefButtonsBrowseFromTheEnteredFolderAndFile) {
    const std::string chosen = folder.Path() + "chosen";
    fs::create_directory(chosen);
    doc->m_intervalFile = data + "roof.wsx";
    QString startedIn, initial, shownFolder, shownFile;
    QStringList filters;
    ModalScript script;
    script.Then(Press(IDC_FOLDER_REF))
        .Then([&](QWidget* w) {
            auto* browser = qobject_cast<QFileDialog*>(w);
            ASSERT_NE(browser, nullptr);
            startedIn = browser->directory().absolutePath();
            TypeIntoFileDialog(browser, chosen);
        })
        .Then([](QWidget* dlg) {
            Click(dlg, IDC_USER_FILE);
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
    EXPECT_EQ(startedIn.toStdString(), data.substr(0, data.size() - 1));
    EXPECT_EQ(shownFolder.toStdString(), chosen + "/");
    EXPECT_EQ(filters, (QStringList{"Halvo Data Files(*.wsx) (*.wsx)", "All Files(*.*) (*)"}));
    EXPECT_EQ(initial.toStdString(), data + "roof.wsx");
    EXPECT_EQ(shownFile.toStdString(), data + "wall.wsx");
}

}  // namespace
