// A data folder on a full file system: failed slots are reported, earlier data stays intact.
#include <gtest/gtest.h>
#include <sys/mount.h>

#include <unistd.h>
#include <filesystem>

#include "measurement/IntervalScheduler.h"
#include "tests/support/SequenceFixture.h"

namespace {

class FullDisk : public SequenceFixture {
protected:
    void SetUp() override {
        disk = folder + "disk/";
        std::filesystem::create_directories(disk);
        if (::mount("tmpfs", disk.c_str(), "tmpfs", 0, "size=1m") != 0) {
            GTEST_SKIP() << "mounting a small tmpfs needs root";
        }
        mounted = true;
        WriteFileBytes(disk + "filler", std::string(700 * 1024, 'f'));
        ASSERT_EQ(doc->SetupInstruments(), 1);
        doc->m_dataFolder = disk;
        scheduler =
            std::make_unique<CIntervalScheduler>(*doc, *sequence, display, events, clock, messages);
        clock.now = LocalStamp(2024, 6, 21, 10, 0, 0);
        scheduler->StartInterval();
    }
    void TearDown() override {
        if (mounted) {
            ::umount(disk.c_str());
        }
    }
    void Slot(int minute) {
        clock.now = LocalStamp(2024, 6, 21, 10, minute, 0);
        scheduler->OnIntervalMeasure(clock.now);
    }
    int Records() { return CRadData().LoadFile((disk + "VS20240621.wsx").c_str()); }
    int TextBlocks() {
        const std::string text = ReadFileBytes(disk + "20240621.txt");
        int blocks = 0;
        for (size_t at = text.find("YYYYMMDD"); at != std::string::npos;
             at = text.find("YYYYMMDD", at + 1)) {
            ++blocks;
        }
        return blocks;
    }

    std::string disk;
    bool mounted = false;
    FakeIntervalDisplay display;
    FakeViewEvents events;
    std::unique_ptr<CIntervalScheduler> scheduler;
};

}  // namespace

TEST_F(FullDisk, FailedSlotsAreReportedAndMeasuringGoesOnWhenSpaceReturns) {
    // Text blocks (about 100 kB) fill the disk before the records (33 kB) do; slot on until
    // neither fits any more.
    int minute = 0;
    int failures = 0;
    while (failures < 3 && minute < 40) {
        Slot(++minute);
        failures = display.statusText == "Error! (File Save)" ? failures + 1 : 0;
    }
    ASSERT_EQ(failures, 3);
    EXPECT_TRUE(scheduler->IsOn());

    // What was written is whole: records without a torn tail, text without half a block.
    CRadData day;
    const int kept = day.LoadFile((disk + "VS20240621.wsx").c_str());
    ASSERT_GE(kept, 1);
    EXPECT_EQ(day.m_trailingBytes, 0);
    for (int k = 0; k < kept; ++k) {
        EXPECT_EQ(day.GetRecord(k)->measTime,
                  static_cast<int32_t>(LocalStamp(2024, 6, 21, 10, k + 1, 0)));
    }
    const std::string text = ReadFileBytes(disk + "20240621.txt");
    EXPECT_EQ(text.substr(text.size() - 2), "\n\n");
    EXPECT_LE(TextBlocks(), kept);

    // Space returns: the next slot lands in both files again, and the text file catches up
    // with the records that found room only in the data file.
    std::filesystem::remove(disk + "filler");
    Slot(++minute);
    EXPECT_EQ(display.statusText, "");
    EXPECT_EQ(Records(), kept + 1);
    EXPECT_EQ(TextBlocks(), kept + 1);
}
