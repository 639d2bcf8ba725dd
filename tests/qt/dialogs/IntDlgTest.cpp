// The "Interval Measurement" dialog: spins and seconds, file naming, the checks before a start.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QFileDialog>
#include <QRadioButton>
#include <QSpinBox>
#include <filesystem>
#include <memory>

#include "tests/support/qt/DialogTestSupport.h"
#include "tests/support/Fakes.h"
#include "tests/support/qt/ModalScript.h"
#include "tests/support/TestRecords.h"
#include "document/OrvelDoc.h"
#include "measurement/qt/IntDlg.h"
#include "measurement/IntervalScheduler.h"
#include "measurement/MeasurementSequence.h"

namespace {

namespace fs = std::filesystem;

// A folder that exists but cannot be written, even by root: under /proc, or a folder without
// write permission for an ordinary user. Empty when none is at hand.
std::string UnwritableFolder(const std::string& scratch) {
    for (const char* candidate : {"/proc/sys/", "/proc/self/"}) {
        if (fs::is_directory(candidate) && ::access(candidate, W_OK) != 0) {
            return candidate;
        }
    }
    const std::string locked = scratch + "locked/";
    fs::create_directory(locked);
    fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec);
    return ::access(locked.c_str(), W_OK) != 0 ? locked : std::string();
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
    ~IntDlgTest() override {
        fs::permissions(folder.Path() + "locked", fs::perms::owner_all, ignored);
        doc.reset();
    }

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
        return StartWith(CIntDlg::IDC_USER_FILE, CIntDlg::IDC_FILE, name);
    }
    static ModalScript::Step StartWithFolder(const std::string& dataFolder) {
        return StartWith(CIntDlg::IDC_AUTO_NAME, CIntDlg::IDC_FOLDER, dataFolder);
    }

    TempFolder folder;
    std::string data;  // the data folder the document starts with
    std::error_code ignored;
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
                for (int id : {CIntDlg::IDC_FROM_HOUR, CIntDlg::IDC_FROM_MINUTE,
                               CIntDlg::IDC_TO_HOUR, CIntDlg::IDC_TO_MINUTE, CIntDlg::IDC_PERIOD}) {
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
            Control<QSpinBox>(dlg, CIntDlg::IDC_FROM_HOUR)->stepBy(1);     // 23 -> 0
            Control<QSpinBox>(dlg, CIntDlg::IDC_FROM_MINUTE)->stepBy(-1);  // 0 -> 59
            Control<QSpinBox>(dlg, CIntDlg::IDC_TO_MINUTE)->stepBy(-1);    // 0 -> 59
            Control<QSpinBox>(dlg, CIntDlg::IDC_PERIOD)->stepBy(1);        // 9999 -> 1
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
        autoChecked = Control<QRadioButton>(dlg, CIntDlg::IDC_AUTO_NAME)->isChecked();
        for (int round = 0; round < 2; ++round) {
            for (int id : {CIntDlg::IDC_FILE, CIntDlg::IDC_FILE_REF, CIntDlg::IDC_FOLDER,
                           CIntDlg::IDC_FOLDER_REF}) {
                states += Control<QWidget>(dlg, id)->isEnabled() ? '1' : '0';
            }
            Click(dlg, CIntDlg::IDC_USER_FILE);
        }
    }));
    EXPECT_FALSE(Run());
    EXPECT_TRUE(autoChecked);
    EXPECT_EQ(states, "00111100");
}

TEST_F(IntDlgTest, TrailingSeparatorsAreIgnoredByTheCheckAndKeptAsEntered) {
    const std::string withoutSlash = data.substr(0, data.size() - 1);
    const struct {
        std::string entered, stored;
    } cases[] = {{data + "//", data + "//"}, {withoutSlash, data}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.entered);
        ModalScript script;
        script.Then(StartWithFolder(c.entered));
        EXPECT_TRUE(Run());
        EXPECT_TRUE(messages.shown.empty());
        EXPECT_EQ(doc->m_dataFolder, c.stored);
        EXPECT_EQ(Stored().m_dataFolder, c.stored);
        EXPECT_EQ(doc->m_autoFileName, 1);
        scheduler.StopInterval(0);
    }
}

// The entered values are taken over before the check, but neither stored nor started.
TEST_F(IntDlgTest, UnusableFolderShowsItsMessageAndTheDialogAgainWithoutStoringOrStarting) {
    const std::string unwritable = UnwritableFolder(folder.Path());
    ASSERT_FALSE(unwritable.empty()) << "no read-only folder to test with";
    const struct {
        std::string folder;
        const char* message;
    } cases[] = {{folder.Path() + "missing/", "Invalid Data Folder"},
                 {"", "Invalid Data Folder"},
                 {unwritable, "Folder Attribute is ReadOnly"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.folder);
        messages.shown.clear();
        QString shownAgain;
        ModalScript script;
        script.Then(StartWithFolder(c.folder)).Then(Inspect([&](QWidget* dlg) {
            shownAgain = TextOf(dlg, CIntDlg::IDC_FOLDER);
        }));
        EXPECT_FALSE(Run());
        EXPECT_EQ(messages.shown, std::vector<std::string>{c.message});
        const std::string entered = c.folder.empty() ? "/" : c.folder;
        EXPECT_EQ(shownAgain.toStdString(), entered);
        EXPECT_EQ(doc->m_dataFolder, entered);
        EXPECT_FALSE(fs::exists(doc->m_cfgPath));
        EXPECT_FALSE(scheduler.IsOn());
    }
}

TEST_F(IntDlgTest, UserFileGainsWsxAndItsOwnFolderIsChecked) {
    const struct {
        std::string entered, stored;
        const char* message;  // nullptr: started
    } cases[] = {
        {data + "roof", data + "roof.wsx", nullptr},
        {data + "roof.dat", data + "roof.dat", nullptr},
        {folder.Path() + "nowhere/roof", folder.Path() + "nowhere/roof.wsx", "Invalid Data Folder"},
        {"roof", "roof.wsx", "Invalid Data Folder"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.entered);
        messages.shown.clear();
        QString shownAgain;
        ModalScript script;
        script.Then(StartWithUserFile(c.entered));
        if (c.message != nullptr) {
            script.Then(
                Inspect([&](QWidget* dlg) { shownAgain = TextOf(dlg, CIntDlg::IDC_FILE); }));
        }
        EXPECT_EQ(Run(), c.message == nullptr);
        EXPECT_EQ(doc->m_intervalFile, c.stored);
        EXPECT_EQ(doc->m_autoFileName, 0);
        EXPECT_EQ(messages.shown, c.message != nullptr ? std::vector<std::string>{c.message}
                                                       : std::vector<std::string>{});
        EXPECT_EQ(c.message != nullptr ? shownAgain.toStdString() : Stored().m_intervalFile,
                  c.stored);
        scheduler.StopInterval(0);
    }
}

TEST_F(IntDlgTest, ExistingUserFileMustComeFromTheSameSensorType) {
    ASSERT_EQ(doc->m_radData.SaveFile((data + "same.wsx").c_str()), 1);
    CRadData foreign;
    FillSampleSet(foreign, 2);
    CRadData::SetField(foreign.m_type, "TYPE-B");
    ASSERT_EQ(foreign.SaveFile((data + "other.wsx").c_str()), 1);
    ModalScript script;
    script.Then(StartWithUserFile(data + "other.wsx")).Then(StartWithUserFile(data + "same.wsx"));
    EXPECT_TRUE(Run());
    EXPECT_EQ(messages.shown,
              std::vector<std::string>{"Can't Append Data\nData format is different."});
    EXPECT_EQ(Stored().m_intervalFile, data + "same.wsx");
    EXPECT_TRUE(scheduler.IsOn());
}

TEST_F(IntDlgTest, StartStoresEverySettingThenStartsTheSchedule) {
    doc->m_autoStart = 0;
    ModalScript script;
    script.Then(Inspect(
        [&](QWidget* dlg) {
            SetText(dlg, CIntDlg::IDC_MEMO, "roof mast");
            Click(dlg, CIntDlg::IDC_AUTO_START);
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
        Control<QSpinBox>(dlg, CIntDlg::IDC_PERIOD)->setValue(3);
        SetText(dlg, CIntDlg::IDC_FOLDER, "/elsewhere/");
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
                SetText(dlg, CIntDlg::IDC_MEMO, QString(50, 'm'));
            },
            1));
    EXPECT_TRUE(Run());
    EXPECT_EQ(message, "Please enter no more than 50 characters.");
    EXPECT_EQ(focused, CIntDlg::IDC_MEMO);
    EXPECT_EQ(doc->m_dataMemo, std::string(50, 'm'));
}

TEST_F(IntDlgTest, FolderButtonBrowsesFromTheEnteredFolderAndAddsTheSeparator) {
    const std::string chosen = folder.Path() + "chosen";
    fs::create_directory(chosen);
    QString title, startedIn, shown;
    ModalScript script;
    script.Then(Press(CIntDlg::IDC_FOLDER_REF))
        .Then([&](QWidget* w) {
            auto* browser = qobject_cast<QFileDialog*>(w);
            ASSERT_NE(browser, nullptr);
            title = browser->windowTitle();
            startedIn = browser->directory().absolutePath();
            TypeIntoFileDialog(browser, chosen);
        })
        .Then(Inspect([&](QWidget* dlg) { shown = TextOf(dlg, CIntDlg::IDC_FOLDER); }));
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
    script.Then(Press(CIntDlg::IDC_FILE_REF))
        .Then([&](QWidget* w) {
            auto* fd = qobject_cast<QFileDialog*>(w);
            ASSERT_NE(fd, nullptr);
            title = fd->windowTitle();
            suffix = fd->defaultSuffix();
            filters = fd->nameFilters();
            initial = fd->selectedFiles().value(0);
            TypeIntoFileDialog(fd, data + "wall");
        })
        .Then(Inspect([&](QWidget* dlg) { shown = TextOf(dlg, CIntDlg::IDC_FILE); }));
    EXPECT_FALSE(Run());
    EXPECT_EQ(title, "Save");
    EXPECT_EQ(suffix, "wsx");
    EXPECT_EQ(filters, (QStringList{"Halvo Data Files(*.wsx) (*.wsx)", "All Files(*.*) (*)"}));
    EXPECT_EQ(initial.toStdString(), data + "roof.wsx");
    EXPECT_EQ(shown.toStdString(), data + "wall.wsx");
}

}  // namespace
