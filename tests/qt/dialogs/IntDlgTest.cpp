// The "Interval Measurement" dialog: spins and seconds, file naming, the checks before a start.
#include <gtest/gtest.h>
#include <unistd.h>

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
#include "tests/support/qt/ModalScript.h"

namespace {

namespace fs = std::filesystem;

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
    COrvelSettings Stored() const {
        COrvelSettings stored(folder.Path());
        stored.LoadSaveConfig(doc->m_cfgPath, COrvelSettings::kLoad);
        return stored;
    }
    // Picks the user-defined file or the automatic name in a folder, types it, presses Start.
    static ModalScript::Step StartWith(int radio, int edit, const std::string& text) {
        return Inspect(
            [=](QWidget* dlg) {
                Click(dlg, radio);
                SetText(dlg, edit, QString::fromStdString(text));
            },
            1);
    }
    static ModalScript::Step StartWithUserFile(const std::string& name) {
        return StartWith(IDC_USER_FILE, IDC_FILE, name);
    }
    static ModalScript::Step StartWithFolder(const std::string& dataFolder) {
        return StartWith(IDC_AUTO_NAME, IDC_FOLDER, dataFolder);
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

TEST_F(IntDlgTest, SecondsAreShownAsHoursAndMinutesAndStoredBackUnchanged) {
    const struct {
        int64_t start, end, period;
        std::vector<int> shown;  // from hour, from minute, to hour, to minute, period in minutes
    } cases[] = {
        {21600, 68400, 600, {6, 0, 19, 0, 10}},
        {0, 86340, 5400, {0, 0, 23, 59, 90}},
        {30600, 45000, 60, {8, 30, 12, 30, 1}},
        {3600, 7200, 599940, {1, 0, 2, 0, 9999}},
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
                for (int id :
                     {IDC_FROM_HOUR, IDC_FROM_MINUTE, IDC_TO_HOUR, IDC_TO_MINUTE, IDC_PERIOD}) {
                    shown.push_back(Control<QSpinBox>(dlg, id)->value());
                }
            },
            1));
        EXPECT_TRUE(Run());
        EXPECT_EQ(shown, c.shown);
        EXPECT_EQ(doc->m_intervalStart, c.start);
        EXPECT_EQ(doc->m_intervalEnd, c.end);
        EXPECT_EQ(doc->m_intervalPeriod, c.period);
        EXPECT_EQ(Stored().m_intervalPeriod, c.period);
        EXPECT_TRUE(scheduler.IsOn());
        scheduler.StopInterval(0);
    }
}

TEST_F(IntDlgTest, SpinsWrapAroundAtTheirLimits) {
    doc->m_intervalStart = 23 * 3600;  // 23:00
    doc->m_intervalEnd = 5 * 3600;     // 05:00
    doc->m_intervalPeriod = 9999 * 60;
    ModalScript script;
    script.Then(Inspect(
        [](QWidget* dlg) {
            Control<QSpinBox>(dlg, IDC_FROM_HOUR)->stepBy(1);     // 23 -> 0
            Control<QSpinBox>(dlg, IDC_FROM_MINUTE)->stepBy(-1);  // 0 -> 59
            Control<QSpinBox>(dlg, IDC_TO_MINUTE)->stepBy(-1);    // 0 -> 59
            Control<QSpinBox>(dlg, IDC_PERIOD)->stepBy(1);        // 9999 -> 1
        },
        1));
    EXPECT_TRUE(Run());
    EXPECT_EQ(doc->m_intervalStart, 59 * 60);
    EXPECT_EQ(doc->m_intervalEnd, 5 * 3600 + 59 * 60);
    EXPECT_EQ(doc->m_intervalPeriod, 60);
}

// Enabled states of file edit, file "Ref.", folder edit and folder "Ref.", as '0' and '1'.
TEST_F(IntDlgTest, NamingRadioEnablesItsOwnEditAndRefButton) {
    doc->m_autoFileName = 1;
    std::string states;
    bool autoChecked = false;
    ModalScript script;
    script.Then(Inspect([&](QWidget* dlg) {
        autoChecked = Control<QRadioButton>(dlg, IDC_AUTO_NAME)->isChecked();
        for (int round = 0; round < 2; ++round) {
            for (int id : {IDC_FILE, IDC_FILE_REF, IDC_FOLDER, IDC_FOLDER_REF}) {
                states += Control<QWidget>(dlg, id)->isEnabled() ? '1' : '0';
            }
            Click(dlg, IDC_USER_FILE);
        }
    }));
    EXPECT_FALSE(Run());
    EXPECT_TRUE(autoChecked);
    EXPECT_EQ(states, "00111100");
}

// A refused start (the decisions are the core's checks) shows the message and the dialog again
// with the values entered, stores nothing and starts nothing; the next Start goes ahead.
TEST_F(IntDlgTest, ARefusedStartShowsTheDialogAgainWithoutStoringOrStarting) {
    const std::string nowhere = folder.Path() + "nowhere/roof";
    QString shownAgain;
    {
        ModalScript script;
        script.Then(StartWithUserFile(nowhere)).Then(Inspect([&](QWidget* dlg) {
            shownAgain = TextOf(dlg, IDC_FILE);
        }));
        EXPECT_FALSE(Run());
    }
    EXPECT_EQ(messages.shown, std::vector<std::string>{"Invalid Data Folder"});
    EXPECT_EQ(shownAgain.toStdString(), nowhere + ".wsx");
    EXPECT_EQ(doc->m_intervalFile, nowhere + ".wsx");
    EXPECT_FALSE(fs::exists(doc->m_cfgPath));
    EXPECT_FALSE(scheduler.IsOn());

    ModalScript again;
    again.Then(StartWithFolder(data));
    EXPECT_TRUE(Run());
    EXPECT_TRUE(scheduler.IsOn());
    EXPECT_EQ(Stored().m_dataFolder, data);
    scheduler.StopInterval(0);
}

TEST_F(IntDlgTest, StartStoresEverySettingThenStartsTheSchedule) {
    doc->m_autoStart = 0;
    ModalScript script;
    script.Then(Inspect(
        [&](QWidget* dlg) {
            SetText(dlg, IDC_MEMO, "roof mast");
            Click(dlg, IDC_AUTO_START);
        },
        1));
    EXPECT_TRUE(Run());
    const COrvelSettings stored = Stored();
    EXPECT_EQ(stored.m_dataMemo, "roof mast");
    EXPECT_EQ(stored.m_autoStart, 1);
    EXPECT_EQ(stored.m_autoFileName, 1);
    EXPECT_TRUE(scheduler.IsOn());
    EXPECT_TRUE(display.visible);
    EXPECT_TRUE(events.timerRunning);
}

TEST_F(IntDlgTest, CancelAtFirstShowingChangesNothing) {
    ModalScript script;
    script.Then(Inspect([](QWidget* dlg) {
        Control<QSpinBox>(dlg, IDC_PERIOD)->setValue(3);
        SetText(dlg, IDC_FOLDER, "/elsewhere/");
    }));
    EXPECT_FALSE(Run());
    EXPECT_EQ(doc->m_intervalPeriod, 600);
    EXPECT_EQ(doc->m_dataFolder, data);
    EXPECT_FALSE(fs::exists(doc->m_cfgPath));
    EXPECT_FALSE(scheduler.IsOn());
}

TEST_F(IntDlgTest, MemoOfMoreThanFiftyCharactersIsRefusedWithTheStandardMessage) {
    doc->m_dataMemo = std::string(51, 'm');
    std::string message;
    int focused = -1;
    ModalScript script;
    script.Then(Press(1))
        .Then(Acknowledge(message))
        .Then(Inspect(
            [&](QWidget* dlg) {
                focused = FocusedId(dlg);
                SetText(dlg, IDC_MEMO, QString(50, 'm'));
            },
            1));
    EXPECT_TRUE(Run());
    EXPECT_EQ(message, "Please enter no more than 50 characters.");
    EXPECT_EQ(focused, IDC_MEMO);
    EXPECT_EQ(doc->m_dataMemo, std::string(50, 'm'));
}

TEST_F(IntDlgTest, FolderButtonBrowsesFromTheEnteredFolderAndAddsTheSeparator) {
    const std::string chosen = folder.Path() + "chosen";
    fs::create_directory(chosen);
    QString title, startedIn, shown;
    ModalScript script;
    script.Then(Press(IDC_FOLDER_REF))
        .Then([&](QWidget* w) {
            auto* browser = qobject_cast<QFileDialog*>(w);
            ASSERT_NE(browser, nullptr);
            title = browser->windowTitle();
            startedIn = browser->directory().absolutePath();
            TypeIntoFileDialog(browser, chosen);
        })
        .Then(Inspect([&](QWidget* dlg) { shown = TextOf(dlg, IDC_FOLDER); }));
    EXPECT_FALSE(Run());
    EXPECT_EQ(title, "Data Save Folder Select");
    EXPECT_EQ(startedIn.toStdString(), data.substr(0, data.size() - 1));
    EXPECT_EQ(shown.toStdString(), chosen + "/");
}

TEST_F(IntDlgTest, FileButtonOffersTheSaveDialogWithTheDataFileFilter) {
    doc->m_intervalFile = data + "roof.wsx";
    doc->m_autoFileName = 0;
    QString title, suffix, initial, shown;
    QStringList filters;
    ModalScript script;
    script.Then(Press(IDC_FILE_REF))
        .Then([&](QWidget* w) {
            auto* fd = qobject_cast<QFileDialog*>(w);
            ASSERT_NE(fd, nullptr);
            title = fd->windowTitle();
            suffix = fd->defaultSuffix();
            filters = fd->nameFilters();
            initial = fd->selectedFiles().value(0);
            TypeIntoFileDialog(fd, data + "wall");
        })
        .Then(Inspect([&](QWidget* dlg) { shown = TextOf(dlg, IDC_FILE); }));
    EXPECT_FALSE(Run());
    EXPECT_EQ(title, "Save");
    EXPECT_EQ(suffix, "wsx");
    EXPECT_EQ(filters, (QStringList{"Halvo Data Files(*.wsx) (*.wsx)", "All Files(*.*) (*)"}));
    EXPECT_EQ(initial.toStdString(), data + "roof.wsx");
    EXPECT_EQ(shown.toStdString(), data + "wall.wsx");
}

}  // namespace
