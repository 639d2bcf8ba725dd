// Save, Save Append and Save with Count of the document, with scripted dialogs.
#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <filesystem>
#include <optional>

#include "data/CountCsv.h"
#include "document/IFileDialogs.h"
#include "document/OrvelDoc.h"
#include "tests/support/Fakes.h"
#include "tests/support/TestRecords.h"

namespace {

class ScriptedDialogs : public IFileDialogs {
public:
    bool ChooseSaveFile(const SAVEDIALOG& dialog, std::string& path) override {
        shown.push_back(dialog);
        const bool chosen = !files.empty();
        if (chosen) {
            path = files.front();
            files.pop_front();
        }
        return chosen;
    }
    bool EditMemo(std::string& memo) override {
        memoShown = memo;
        memo = memoAnswer.value_or(memo);
        return memoAnswer.has_value();
    }
    std::deque<std::string> files;
    std::vector<SAVEDIALOG> shown;
    std::optional<std::string> memoAnswer = std::string("new memo");
    std::string memoShown;
};

class SaveCommands : public ::testing::Test {
protected:
    SaveCommands() : folder(temp.Path()), doc(std::make_unique<COrvelDoc>(folder)) {
        doc->SetHost(&host);
        doc->SetMessageBox(&messages);
        FillSampleSet(doc->m_radData, 1);
        doc->m_longitude = 139.5;
        doc->m_latitude = 36.25;
        doc->SetModifiedFlag(true);
    }
    COrvelSettings StoredSettings() const {
        COrvelSettings stored(folder);
        stored.LoadSaveConfig(doc->m_cfgPath, COrvelSettings::kLoad);
        return stored;
    }

    TempFolder temp;
    std::string folder;
    FakeMessageBox messages;
    FakeHost host;
    ScriptedDialogs dialogs;
    std::unique_ptr<COrvelDoc> doc;
};

}  // namespace

TEST_F(SaveCommands, SaveWritesTheWholeSetWithSiteAndMemoAndRemembersIt) {
    const std::string path = folder + "first.wsx";
    dialogs.files = {path};
    doc->OnFileSave(dialogs);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].title, "Save");
    EXPECT_EQ(dialogs.shown[0].filter, "Halvo Data Files(*.wsx)|*.wsx|All Files(*.*)|*.*||");
    EXPECT_EQ(dialogs.shown[0].defaultExtension, "wsx");
    EXPECT_EQ(dialogs.shown[0].initialName, folder + "NoName.wsx");
    EXPECT_EQ(dialogs.memoShown, "Data Memo");
    CRadData file;
    ASSERT_EQ(file.LoadFile(path.c_str()), 1);
    EXPECT_EQ(file.m_memo, "new memo");
    EXPECT_EQ(file.m_longitude, 139.5);
    EXPECT_EQ(host.title, path);
    EXPECT_FALSE(host.modified);
    const COrvelSettings stored = StoredSettings();
    EXPECT_EQ(stored.m_saveFile, path);
    EXPECT_EQ(stored.m_dataMemo, "new memo");
}

// Save never overwrites and asks again; Cancel in the memo dialog writes nothing; Save Append
// refuses another sensor type; write failures are reported. The set stays modified throughout.
TEST_F(SaveCommands, RefusedOrFailedSavesWriteNothing) {
    const std::string existing = folder + "old.wsx";
    WriteFileBytes(existing, "keep me");
    dialogs.files = {existing};
    doc->OnFileSave(dialogs);  // refused, then Cancel
    EXPECT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(ReadFileBytes(existing), "keep me");

    dialogs.files = {folder + "a.wsx"};
    dialogs.memoAnswer.reset();
    doc->OnFileSave(dialogs);
    EXPECT_FALSE(std::filesystem::exists(folder + "a.wsx"));
    EXPECT_EQ(doc->m_dataMemo, "Data Memo");
    dialogs.memoAnswer = "new memo";

    const std::string other = folder + "other.wsx";
    CRadData otherType;
    CRadData::SetField(otherType.m_type, "OTHER");
    ASSERT_EQ(otherType.SaveFile(other.c_str()), 1);
    const std::string before = ReadFileBytes(other);
    dialogs.files = {other};
    doc->OnFileSaveAppend(dialogs);
    EXPECT_EQ(ReadFileBytes(other), before);

    WriteFileBytes(folder + "plain", "x");
    dialogs.files = {folder + "plain/x.wsx", folder + "plain/y.csv"};
    doc->OnFileSave(dialogs);
    doc->OnSaveWithCount(dialogs);
    EXPECT_EQ(messages.shown,
              (std::vector<std::string>{"OverWrite is prohibited",
                                        "Can't Append Data\nData format is different.",
                                        "Error! (File Save)", "Error! (File Save)"}));
    EXPECT_TRUE(host.modified);

    dialogs.files = {existing, folder + "new.wsx"};
    doc->OnFileSave(dialogs);
    EXPECT_EQ(CRadData().LoadFile((folder + "new.wsx").c_str()), 1);
}

// Save Append asks before creating a missing file; to an existing file it adds only the latest
// record and keeps the file's site.
TEST_F(SaveCommands, SaveAppendCreatesAMissingFileWhenToldAndAddsTheLatestRecord) {
    const std::string missing = folder + "missing.wsx";
    messages.answers = {IMessageBox::Answer::Cancel, IMessageBox::Answer::Ok};
    dialogs.files = {missing, missing};
    doc->OnFileSaveAppend(dialogs);
    EXPECT_FALSE(std::filesystem::exists(missing));
    EXPECT_EQ(host.title, "");
    doc->OnFileSaveAppend(dialogs);
    EXPECT_EQ(messages.shown[1], "File does not exist.\nCreate New File?");
    CRadData created;
    ASSERT_EQ(created.LoadFile(missing.c_str()), 1);
    EXPECT_EQ(created.m_latitude, 36.25);
    EXPECT_EQ(host.title, missing);

    const std::string path = folder + "five.wsx";
    CRadData five;
    FillSampleSet(five, 5);
    five.m_longitude = 10.0;
    ASSERT_EQ(five.SaveFile(path.c_str()), 1);
    doc->m_radData.AddData(FlatRecord(2222, 200, 1718950000));
    dialogs.files = {path};
    doc->OnFileSaveAppend(dialogs);
    CRadData file;
    ASSERT_EQ(file.LoadFile(path.c_str()), 6);
    EXPECT_EQ(file.m_memo, "new memo");
    EXPECT_EQ(file.m_longitude, 10.0);
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(std::memcmp(file.GetRecord(k), five.GetRecord(k), sizeof(RADDATA)), 0);
    }
    EXPECT_EQ(file.GetRecord(5)->measTime, 1718950000);
    EXPECT_EQ(StoredSettings().m_saveFile, path);
}

// An empty set disables the save commands.
TEST_F(SaveCommands, SaveWithCountWritesTheLatestRecord) {
    EXPECT_TRUE(doc->CanSave());
    dialogs.files = {folder + "counts.csv"};
    doc->OnSaveWithCount(dialogs);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].filter, "CSV Files(*.csv)|*.csv|All Files(*.*)|*.*||");
    EXPECT_TRUE(dialogs.shown[0].confirmOverwrite);
    std::string expected;
    ASSERT_TRUE(BuildCountCsv(doc->m_radData, 0, expected));
    EXPECT_EQ(ReadFileBytes(folder + "counts.csv"), expected);
    doc->DeleteContents();
    EXPECT_FALSE(doc->CanSave());
}

// A settings store killed mid-write left its temporary: the next start clears it.
TEST_F(SaveCommands, StartingRemovesSettingsTemporariesOlderThanTenMinutes) {
    const std::string stale = doc->m_cfgPath + ".tmpAbC123";
    const std::string fresh = doc->m_cfgPath + ".tmpXyZ789";
    WriteFileBytes(stale, "half");
    WriteFileBytes(fresh, "half");
    const auto now = std::filesystem::file_time_type::clock::now();
    std::filesystem::last_write_time(stale, now - std::chrono::minutes(11));
    COrvelDoc started(folder);
    EXPECT_FALSE(std::filesystem::exists(stale));
    EXPECT_TRUE(std::filesystem::exists(fresh));
}
