// The checks before an interval start: folder, user file name, sensor type; path helpers.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "data/FilePaths.h"
#include "document/OrvelDoc.h"
#include "measurement/IntervalStartCheck.h"
#include "tests/support/Fakes.h"
#include "tests/support/TestRecords.h"

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

class IntervalStartCheck : public ::testing::Test {
protected:
    IntervalStartCheck() : scratch(temp.Path()), doc(scratch) {
        doc.SetMessageBox(&messages);
        FillSampleSet(doc.m_radData, 1);
        data = scratch + "data.d/";  // a dot in the folder, none in the names
        fs::create_directory(data);
    }
    ~IntervalStartCheck() override {
        std::error_code ignored;
        fs::permissions(scratch + "locked", fs::perms::owner_all, ignored);
    }
    // The message shown by the check, "" when it passed.
    std::string Check() {
        messages.shown.clear();
        const bool passed = IntervalStartChecksPass(doc);
        EXPECT_EQ(passed, messages.shown.empty());
        return messages.shown.empty() ? std::string() : messages.shown.front();
    }

    TempFolder temp;
    std::string scratch;
    std::string data;
    FakeMessageBox messages;
    COrvelDoc doc;
};

constexpr const char* kMissing = "Invalid Data Folder";

}  // namespace

TEST_F(IntervalStartCheck, TheDataFolderMustExistAndBeWritable) {
    const std::string unwritable = UnwritableFolder(scratch);
    ASSERT_FALSE(unwritable.empty()) << "no read-only folder to test with";
    const struct {
        std::string folder;
        std::string message;
    } cases[] = {{data, ""},
                 {data + "//", ""},
                 {data.substr(0, data.size() - 1), ""},
                 {scratch + "missing/", kMissing},
                 {"", kMissing},
                 {"/", kMissing},  // never the root folder
                 {unwritable, "Folder Attribute is ReadOnly"}};
    doc.m_autoFileName = 1;
    for (const auto& c : cases) {
        doc.m_dataFolder = c.folder;
        EXPECT_EQ(Check(), c.message) << c.folder;
        EXPECT_EQ(doc.m_dataFolder, c.folder);  // kept as entered
    }
}

TEST_F(IntervalStartCheck, AUserFileGainsWsxAndItsOwnFolderAndSensorTypeAreChecked) {
    CRadData foreign;
    FillSampleSet(foreign, 2);
    CRadData::SetField(foreign.m_type, "TYPE-B");
    ASSERT_EQ(foreign.SaveFile((data + "other.wsx").c_str()), 1);
    ASSERT_EQ(doc.m_radData.SaveFile((data + "same.wsx").c_str()), 1);
    const struct {
        std::string entered, stored, message;
    } cases[] = {
        {data + "roof", data + "roof.wsx", ""},
        {data + "roof.dat", data + "roof.dat", ""},
        {data + "same.wsx", data + "same.wsx", ""},
        {data + "other.wsx", data + "other.wsx", "Can't Append Data\nData format is different."},
        {scratch + "nowhere/roof", scratch + "nowhere/roof.wsx", kMissing},
        {"roof", "roof.wsx", kMissing},
    };
    doc.m_autoFileName = 0;
    doc.m_dataFolder = scratch + "missing/";  // not the folder that counts for a user file
    for (const auto& c : cases) {
        doc.m_intervalFile = c.entered;
        EXPECT_EQ(Check(), c.message) << c.entered;
        EXPECT_EQ(doc.m_intervalFile, c.stored);
    }
}

// The other rules of both helpers show in the user file check above.
TEST(FilePaths, AFolderOrAnEmptyExtensionAddsNoExtension) {
    EXPECT_EQ(WithDefaultExtension("/data/", "wsx"), "/data/");
    EXPECT_EQ(FolderOfFile("/data/"), "/data/");
    EXPECT_EQ(WithDefaultExtension("/data/roof", ""), "/data/roof");
}
