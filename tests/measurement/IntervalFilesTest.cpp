// Interval slots against the simulated instruments: the data file, the daily text file and faults.
#include <gtest/gtest.h>

#include <filesystem>

#include "measurement/IntervalScheduler.h"
#include "tests/support/SequenceFixture.h"
#include "tests/support/TestRecords.h"

namespace {

class IntervalFiles : public SequenceFixture {
protected:
    IntervalFiles() {
        EXPECT_EQ(doc->SetupInstruments(), 1);
        doc->m_dataFolder = folder + "data/";
        std::filesystem::create_directories(doc->m_dataFolder);
        doc->m_dataMemo = "mast 3, north";
        scheduler =
            std::make_unique<CIntervalScheduler>(*doc, *sequence, display, events, clock, messages);
        clock.now = LocalStamp(2024, 6, 21, 10, 0, 0);
        scheduler->StartInterval();
    }
    // Runs the slot at the given local time as the posted event would.
    void Slot(int hour, int minute, int day = 21) {
        clock.now = LocalStamp(2024, 6, day, hour, minute, 0);
        scheduler->OnIntervalMeasure(clock.now);
    }
    std::string DataFile() const { return doc->m_dataFolder + "VS20240621.wsx"; }
    std::string TextFile() const { return doc->m_dataFolder + "20240621.txt"; }

    FakeIntervalDisplay display;
    FakeViewEvents events;
    std::unique_ptr<CIntervalScheduler> scheduler;
};

}  // namespace

TEST_F(IntervalFiles, EachSlotAppendsItsRecordAndTextBlock) {
    Slot(10, 10);
    Slot(10, 20);
    CRadData file;
    ASSERT_EQ(file.LoadFile(DataFile().c_str()), 2);
    EXPECT_EQ(file.m_memo, "mast 3, north");
    EXPECT_STREQ(file.m_type, "KT-530VN");
    EXPECT_EQ(file.m_latitude, 35.0);
    EXPECT_EQ(file.GetRecord(1)->measTime, static_cast<int32_t>(clock.now));
    EXPECT_EQ(display.statusText, "");
    EXPECT_EQ(host.title, DataFile());
    EXPECT_FALSE(host.modified);

    // The appended file holds exactly what a rewrite of its records would.
    const std::string rewritten = folder + "rewritten.wsx";
    ASSERT_EQ(file.SaveFile(rewritten.c_str()), 1);
    EXPECT_EQ(ReadFileBytes(DataFile()), ReadFileBytes(rewritten));

    EXPECT_EQ(ReadFileBytes(TextFile()), DailyTextOf(file, 2));
}

// A run killed between the data-file append and the text-file append left the text file one
// block short: the next slot adds the missing block before its own.
TEST_F(IntervalFiles, TheNextSlotAddsTheBlocksTheTextFileLacks) {
    Slot(10, 10);
    const std::string oneBlock = ReadFileBytes(TextFile());
    Slot(10, 20);
    const std::string twoBlocks = ReadFileBytes(TextFile());
    Slot(10, 30);
    const std::string threeBlocks = ReadFileBytes(TextFile());
    std::filesystem::resize_file(TextFile(), oneBlock.size());
    doc->m_dataMemo = "new memo";  // rewrites the header of the data file, keeping its records
    Slot(10, 40);
    CRadData file;
    ASSERT_EQ(file.LoadFile(DataFile().c_str()), 4);
    EXPECT_EQ(file.m_memo, "new memo");
    std::string block;
    file.Select(3, 0);
    ASSERT_TRUE(file.GetRecordText(block));
    EXPECT_EQ(ReadFileBytes(TextFile()), threeBlocks + block + "\n");
    EXPECT_EQ(display.statusText, "");

    // A program started anew finds the gap the same way.
    std::filesystem::resize_file(TextFile(), twoBlocks.size());
    scheduler =
        std::make_unique<CIntervalScheduler>(*doc, *sequence, display, events, clock, messages);
    Slot(10, 50);
    EXPECT_EQ(CDailyTextFile::CountBlocks(TextFile()), 5);
    EXPECT_EQ(ReadFileBytes(TextFile()).substr(0, threeBlocks.size() + block.size() + 1),
              threeBlocks + block + "\n");
}

// A user-named file gathers every day; each day's text file gets that day's blocks alone.
TEST_F(IntervalFiles, UserNamedFileKeepsTheDailyTextFile) {
    doc->m_autoFileName = 0;
    doc->m_intervalFile = folder + "mine.wsx";
    Slot(12, 0, 20);
    Slot(11, 0);
    EXPECT_EQ(CRadData().LoadFile((folder + "mine.wsx").c_str()), 2);
    EXPECT_FALSE(std::filesystem::exists(DataFile()));
    EXPECT_EQ(CDailyTextFile::CountBlocks(doc->m_dataFolder + "20240620.txt"), 1);
    EXPECT_EQ(CDailyTextFile::CountBlocks(TextFile()), 1);
}

TEST_F(IntervalFiles, AFileOfAnotherSensorTypeStopsTheSchedule) {
    CRadData other;
    CRadData::SetField(other.m_type, "OTHER");
    ASSERT_EQ(other.SaveFile(DataFile().c_str()), 1);
    const std::string before = ReadFileBytes(DataFile());
    Slot(10, 10);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown[0], "Can't Append Data\nData format is different.");
    EXPECT_FALSE(scheduler->IsOn());
    EXPECT_FALSE(events.timerRunning);
    EXPECT_FALSE(display.visible);
    EXPECT_EQ(ReadFileBytes(DataFile()), before);
    EXPECT_FALSE(std::filesystem::exists(TextFile()));
}

TEST_F(IntervalFiles, AnUnwritableFolderIsReportedAndTheScheduleGoesOn) {
    WriteFileBytes(folder + "plain-file", "x");
    doc->m_dataFolder = folder + "plain-file/";  // a file, not a folder: nothing can be created
    Slot(10, 10);
    EXPECT_EQ(display.statusText, "Error! (File Save)");
    EXPECT_TRUE(scheduler->IsOn());
    EXPECT_TRUE(host.modified);
    doc->m_dataFolder = folder + "data/";
    Slot(10, 20);
    EXPECT_EQ(display.statusText, "");
    EXPECT_EQ(CRadData().LoadFile(DataFile().c_str()), 1);
}

TEST_F(IntervalFiles, ARefusedOrBrokenSlotTouchesNoFile) {
    SIMFAULTS faults;
    faults.bandOff = true;
    SetFaults(faults);
    Slot(10, 10);
    SetFaults(SIMFAULTS{});
    progress.onMessage = [this](const std::string& text) {
        if (text.rfind("-- Measurement --", 0) == 0) {
            sequence->OnMeasBreak();  // Break as the first exposure shows
        }
    };
    Slot(10, 20);
    EXPECT_FALSE(std::filesystem::exists(DataFile()));
    EXPECT_FALSE(std::filesystem::exists(TextFile()));
    EXPECT_EQ(display.statusText, "(unset)");
    EXPECT_TRUE(scheduler->IsOn());
}
