// The "Interval Measurement" dialog: spins and seconds, file naming, the checks before a start.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <filesystem>
#include <memory>

#include "DialogTestSupport.h"
#include "Fakes.h"
#include "ModalScript.h"
#include "TestRecords.h"
#include "document/OrvelDoc.h"
#include "measurement/IntDlg.h"
#include "measurement/IntervalScheduler.h"
#include "measurement/MeasurementSequence.h"

namespace {

int SpinValue(QWidget* dlg, int id) {
    auto* spin = Control<QSpinBox>(dlg, id);
    return spin != nullptr ? spin->value() : -1;
}

// A folder that exists but cannot be written, even by root: under /proc, or a folder without
// write permission for an ordinary user. Empty when none is at hand.
std::string UnwritableFolder(const std::string& scratch) {
    for (const char* candidate : {"/proc/sys/", "/proc/self/"}) {
        if (std::filesystem::is_directory(candidate) && ::access(candidate, W_OK) != 0) {
            return candidate;
        }
    }
    const std::string locked = scratch + "locked/";
    std::filesystem::create_directory(locked);
    std::filesystem::permissions(
        locked, std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
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
        doc->m_dataFolder = folder.Path() + "data/";
        std::filesystem::create_directory(doc->m_dataFolder);
    }
    ~IntDlgTest() override {
        std::filesystem::permissions(folder.Path() + "locked", std::filesystem::perms::owner_all,
                                     ignored);
        doc.reset();
    }

    bool Run() { return CIntDlg::Run(*doc, scheduler, nullptr); }
    bool SettingsFileExists() const { return std::filesystem::exists(doc->m_cfgPath); }
    COrvelSettings Stored() const {
        COrvelSettings stored(folder.Path());
        stored.LoadSaveConfig(doc->m_cfgPath, COrvelSettings::kLoad);
        return stored;
    }
    // Picks the user-defined file, types name and presses Start.
    static ModalScript::Step StartWithUserFile(const std::string& name) {
        return [name](QWidget* dlg) {
            Click(dlg, CIntDlg::IDC_USER_FILE);
            SetText(dlg, CIntDlg::IDC_FILE, QString::fromStdString(name));
            Click(dlg, 1);
        };
    }
    static ModalScript::Step StartWithFolder(const std::string& dataFolder) {
        return [dataFolder](QWidget* dlg) {
            Click(dlg, CIntDlg::IDC_AUTO_NAME);
            SetText(dlg, CIntDlg::IDC_FOLDER, QString::fromStdString(dataFolder));
            Click(dlg, 1);
        };
    }

    TempFolder folder;
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

struct ScheduleCase {
    int64_t start;
    int64_t end;
    int64_t period;
    int shown[5];  // from hour, from minute, to hour, to minute, period in minutes
};

TEST_F(IntDlgTest, SecondsAreShownAsHoursAndMinutesAndStoredBackUnchanged) {
    const ScheduleCase cases[] = {
        {21600, 68400, 600, {6, 0, 19, 0, 10}},
        {0, 86340, 5400, {0, 0, 23, 59, 90}},
        {30600, 45000, 60, {8, 30, 12, 30, 1}},
        {3600, 7200, 599940, {1, 0, 2, 0, 9999}},
    };
    for (const ScheduleCase& c : cases) {
        SCOPED_TRACE(c.period);
        doc->m_intervalStart = c.start;
        doc->m_intervalEnd = c.end;
        doc->m_intervalPeriod = c.period;
        int shown[5] = {};
        ModalScript script;
        script.Then([&](QWidget* dlg) {
            const int ids[] = {CIntDlg::IDC_FROM_HOUR, CIntDlg::IDC_FROM_MINUTE,
                               CIntDlg::IDC_TO_HOUR, CIntDlg::IDC_TO_MINUTE, CIntDlg::IDC_PERIOD};
            for (int i = 0; i < 5; ++i) {
                shown[i] = SpinValue(dlg, ids[i]);
            }
            Click(dlg, 1);
        });
        EXPECT_TRUE(Run());
        EXPECT_EQ(std::vector<int>(shown, shown + 5), std::vector<int>(c.shown, c.shown + 5));
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
    script.Then([](QWidget* dlg) {
        Control<QSpinBox>(dlg, CIntDlg::IDC_FROM_HOUR)->stepBy(1);     // 23 -> 0
        Control<QSpinBox>(dlg, CIntDlg::IDC_FROM_MINUTE)->stepBy(-1);  // 0 -> 59
        Control<QSpinBox>(dlg, CIntDlg::IDC_TO_MINUTE)->stepBy(-1);    // 0 -> 59
        Control<QSpinBox>(dlg, CIntDlg::IDC_PERIOD)->stepBy(1);        // 9999 -> 1
        Click(dlg, 1);
    });
    EXPECT_TRUE(Run());
    EXPECT_EQ(doc->m_intervalStart, 59 * 60);
    EXPECT_EQ(doc->m_intervalEnd, 5 * 3600 + 59 * 60);
    EXPECT_EQ(doc->m_intervalPeriod, 60);
}

TEST_F(IntDlgTest, NamingRadioEnablesItsOwnEditAndRefButton) {
    doc->m_autoFileName = 1;
    bool autoState[4] = {};
    bool userState[4] = {};
    bool autoChecked = false;
    ModalScript script;
    script.Then([&](QWidget* dlg) {
        const int ids[] = {CIntDlg::IDC_FILE, CIntDlg::IDC_FILE_REF, CIntDlg::IDC_FOLDER,
                           CIntDlg::IDC_FOLDER_REF};
        autoChecked = Control<QRadioButton>(dlg, CIntDlg::IDC_AUTO_NAME)->isChecked();
        for (int i = 0; i < 4; ++i) {
            autoState[i] = Control<QWidget>(dlg, ids[i])->isEnabled();
        }
        Click(dlg, CIntDlg::IDC_USER_FILE);
        for (int i = 0; i < 4; ++i) {
            userState[i] = Control<QWidget>(dlg, ids[i])->isEnabled();
        }
        Click(dlg, 2);
    });
    EXPECT_FALSE(Run());
    EXPECT_TRUE(autoChecked);
    EXPECT_EQ(std::vector<bool>(autoState, autoState + 4),
              (std::vector<bool>{false, false, true, true}));
    EXPECT_EQ(std::vector<bool>(userState, userState + 4),
              (std::vector<bool>{true, true, false, false}));
}

TEST_F(IntDlgTest, TrailingSeparatorsAreIgnoredByTheCheckAndKeptAsEntered) {
    const std::string data = doc->m_dataFolder;
    const std::string withoutSlash = data.substr(0, data.size() - 1);
    const struct {
        std::string entered;
        std::string stored;
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

TEST_F(IntDlgTest, UnusableFolderShowsItsMessageAndTheDialogAgainWithoutStoringOrStarting) {
    const std::string unwritable = UnwritableFolder(folder.Path());
    const struct {
        std::string folder;
        const char* message;
    } cases[] = {{folder.Path() + "missing/", "Invalid Data Folder"},
                 {"", "Invalid Data Folder"},
                 {unwritable, "Folder Attribute is ReadOnly"}};
    for (const auto& c : cases) {
        if (c.folder == unwritable && unwritable.empty()) {
            ADD_FAILURE() << "no read-only folder to test with";
            continue;
        }
        SCOPED_TRACE(c.folder);
        messages.shown.clear();
        QString shownAgain;
        ModalScript script;
        script.Then(StartWithFolder(c.folder)).Then([&](QWidget* dlg) {
            shownAgain = TextOf(dlg, CIntDlg::IDC_FOLDER);
            Click(dlg, 2);
        });
        EXPECT_FALSE(Run());
        EXPECT_EQ(messages.shown, std::vector<std::string>{c.message});
        const std::string entered = c.folder.empty() ? "/" : c.folder;
        EXPECT_EQ(shownAgain.toStdString(), entered);
        // Taken over before the check, but neither stored nor started.
        EXPECT_EQ(doc->m_dataFolder, entered);
        EXPECT_FALSE(SettingsFileExists());
        EXPECT_FALSE(scheduler.IsOn());
    }
}

TEST_F(IntDlgTest, UserFileGainsWsxAndItsOwnFolderIsChecked) {
    const std::string data = doc->m_dataFolder;
    const struct {
        std::string entered;
        std::string stored;
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
            script.Then([&](QWidget* dlg) {
                shownAgain = TextOf(dlg, CIntDlg::IDC_FILE);
                Click(dlg, 2);
            });
        }
        EXPECT_EQ(Run(), c.message == nullptr);
        EXPECT_EQ(doc->m_intervalFile, c.stored);
        EXPECT_EQ(doc->m_autoFileName, 0);
        if (c.message != nullptr) {
            EXPECT_EQ(messages.shown, std::vector<std::string>{c.message});
            EXPECT_EQ(shownAgain.toStdString(), c.stored);
        } else {
            EXPECT_TRUE(messages.shown.empty());
            EXPECT_EQ(Stored().m_intervalFile, c.stored);
        }
        scheduler.StopInterval(0);
    }
}

TEST_F(IntDlgTest, ExistingUserFileMustComeFromTheSameSensorType) {
    const std::string same = doc->m_dataFolder + "same.wsx";
    const std::string other = doc->m_dataFolder + "other.wsx";
    ASSERT_EQ(doc->m_radData.SaveFile(same.c_str()), 1);
    CRadData foreign;
    FillSampleSet(foreign, 2);
    CRadData::SetField(foreign.m_type, "TYPE-B");
    ASSERT_EQ(foreign.SaveFile(other.c_str()), 1);

    ModalScript script;
    script.Then(StartWithUserFile(other)).Then(StartWithUserFile(same));
    EXPECT_TRUE(Run());
    EXPECT_EQ(messages.shown,
              std::vector<std::string>{"Can't Append Data\nData format is different."});
    EXPECT_EQ(Stored().m_intervalFile, same);
    EXPECT_TRUE(scheduler.IsOn());
}

TEST_F(IntDlgTest, StartStoresEverySettingThenStartsTheSchedule) {
    doc->m_autoStart = 0;
    ModalScript script;
    script.Then([&](QWidget* dlg) {
        SetText(dlg, CIntDlg::IDC_MEMO, "roof mast");
        Click(dlg, CIntDlg::IDC_AUTO_START);
        Click(dlg, 1);
    });
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
    const std::string folderBefore = doc->m_dataFolder;
    ModalScript script;
    script.Then([](QWidget* dlg) {
        Control<QSpinBox>(dlg, CIntDlg::IDC_PERIOD)->setValue(3);
        SetText(dlg, CIntDlg::IDC_FOLDER, "/elsewhere/");
        Click(dlg, 2);
    });
    EXPECT_FALSE(Run());
    EXPECT_EQ(doc->m_intervalPeriod, 600);
    EXPECT_EQ(doc->m_dataFolder, folderBefore);
    EXPECT_FALSE(SettingsFileExists());
    EXPECT_FALSE(scheduler.IsOn());
}

TEST_F(IntDlgTest, MemoOfMoreThanFiftyCharactersIsRefusedWithTheStandardMessage) {
    doc->m_dataMemo = std::string(51, 'm');
    std::string message;
    int focused = -1;
    ModalScript script;
    script.Then([](QWidget* dlg) { Click(dlg, 1); })
        .Then([&](QWidget* box) {
            message = MessageText(box);
            PressDefault(box);
        })
        .Then([&](QWidget* dlg) {
            focused = FocusedId(dlg);
            SetText(dlg, CIntDlg::IDC_MEMO, QString(50, 'm'));
            Click(dlg, 1);
        });
    EXPECT_TRUE(Run());
    EXPECT_EQ(message, "Please enter no more than 50 characters.");
    EXPECT_EQ(focused, CIntDlg::IDC_MEMO);
    EXPECT_EQ(doc->m_dataMemo, std::string(50, 'm'));
}

TEST_F(IntDlgTest, FolderButtonBrowsesFromTheEnteredFolderAndAddsTheSeparator) {
    const std::string chosen = folder.Path() + "chosen";
    std::filesystem::create_directory(chosen);
    QString title, startedIn, shown;
    ModalScript script;
    script.Then([](QWidget* dlg) { Click(dlg, CIntDlg::IDC_FOLDER_REF); })
        .Then([&](QWidget* browser) {
            auto* fd = qobject_cast<QFileDialog*>(browser);
            ASSERT_NE(fd, nullptr);
            title = fd->windowTitle();
            startedIn = fd->directory().absolutePath();
            TypeIntoFileDialog(fd, chosen);
        })
        .Then([&](QWidget* dlg) {
            shown = TextOf(dlg, CIntDlg::IDC_FOLDER);
            Click(dlg, 2);
        });
    EXPECT_FALSE(Run());
    EXPECT_EQ(title, "Data Save Folder Select");
    const std::string data = doc->m_dataFolder;
    EXPECT_EQ(startedIn.toStdString(), data.substr(0, data.size() - 1));
    EXPECT_EQ(shown.toStdString(), chosen + "/");
}

TEST_F(IntDlgTest, FileButtonOffersTheSaveDialogWithTheDataFileFilter) {
    doc->m_intervalFile = doc->m_dataFolder + "roof.wsx";
    doc->m_autoFileName = 0;
    QString title, suffix, initial;
    QStringList filters;
    QString shown;
    ModalScript script;
    script.Then([](QWidget* dlg) { Click(dlg, CIntDlg::IDC_FILE_REF); })
        .Then([&](QWidget* w) {
            auto* fd = qobject_cast<QFileDialog*>(w);
            ASSERT_NE(fd, nullptr);
            title = fd->windowTitle();
            suffix = fd->defaultSuffix();
            filters = fd->nameFilters();
            initial = fd->selectedFiles().value(0);
            TypeIntoFileDialog(fd, doc->m_dataFolder + "wall");
        })
        .Then([&](QWidget* dlg) {
            shown = TextOf(dlg, CIntDlg::IDC_FILE);
            Click(dlg, 2);
        });
    EXPECT_FALSE(Run());
    EXPECT_EQ(title, "Save");
    EXPECT_EQ(suffix, "wsx");
    EXPECT_EQ(filters, (QStringList{"Halvo Data Files(*.wsx) (*.wsx)", "All Files(*.*) (*)"}));
    EXPECT_EQ(initial.toStdString(), doc->m_intervalFile);
    EXPECT_EQ(shown.toStdString(), doc->m_dataFolder + "wall.wsx");
}

}  // namespace
