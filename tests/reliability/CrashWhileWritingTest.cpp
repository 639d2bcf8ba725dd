// A writer killed at random moments never leaves a damaged data or settings file behind.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <random>
#include <thread>

#include "data/RadData.h"
#include "document/OrvelSettings.h"
#include "tests/support/TestRecords.h"

namespace {

constexpr int kKills = 300;

// The k-th record any writer appends: its content follows from k alone.
RADDATA RecordNumber(int k) {
    RADDATA r = FlatRecord(100 + k, 100, 1718938800 + 60 * k);
    r.spec[2].count[k % kPixelCount] = static_cast<int16_t>(k);
    return r;
}

// Tells the parent that the writer is about to write, so the kill lands among the writes
// however long a (sanitized, loaded) child takes to start.
void SayReady(int fd) {
    const char ready = 'r';
    [[maybe_unused]] const ssize_t n = write(fd, &ready, 1);
    close(fd);
}

// The writer: appends record after record as the interval slots and Save Append do, in place
// while the header stays, by a whole rewrite whenever the memo changes.
[[noreturn]] void WriteForever(const std::string& path, int start, int readyFd) {
    CRadData header;
    header.LoadHeader(path.c_str());
    SayReady(readyFd);
    for (int k = start;; ++k) {
        const RADDATA record = RecordNumber(k);
        if (k % 3 == 0) {
            CRadData whole;
            whole.LoadFile(path.c_str());
            whole.m_memo = "memo " + std::to_string(k);
            whole.AddData(record);
            whole.SaveFile(path.c_str());
            header.m_memo = whole.m_memo;
        } else if (header.AppendRecordInPlace(path.c_str(), record) != 1) {
            _exit(3);
        }
    }
}

[[noreturn]] void StoreSettingsForever(const std::string& path, int readyFd) {
    COrvelSettings settings("/tmp/");
    SayReady(readyFd);
    for (int k = 0;; ++k) {
        settings.m_comPort = k % 2 == 0 ? 4 : 7;
        settings.m_dataMemo = k % 2 == 0 ? std::string(300, 'a') : "short";
        settings.m_latitude = k % 2 == 0 ? 60.0 : -33.5;
        settings.LoadSaveConfig(path, COrvelSettings::kStore);
    }
}

// Starts child(readyFd) in a process of its own and kills it delay after it said it is ready.
template <typename Child>
void KillAfter(std::chrono::microseconds delay, Child child) {
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        close(ready[0]);
        child(ready[1]);
    }
    close(ready[1]);
    char byte = 0;
    [[maybe_unused]] const ssize_t n = read(ready[0], &byte, 1);
    close(ready[0]);
    std::this_thread::sleep_for(delay);
    kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped by itself: " << status;
}

class CrashWhileWriting : public ::testing::Test {
protected:
    TempFolder temp;
    std::string folder = temp.Path();
    std::mt19937 random{20241205};
};

}  // namespace

TEST_F(CrashWhileWriting, DataFilesKeepEveryWholeRecord) {
    const std::string path = folder + "VS20240621.wsx";
    CRadData first;
    FillSampleSet(first, 0);
    first.AddData(RecordNumber(0));
    ASSERT_EQ(first.SaveFile(path.c_str()), 1);
    int records = 1;
    std::uniform_int_distribution<int> delay(0, 4000);
    for (int kill = 0; kill < kKills; ++kill) {
        KillAfter(std::chrono::microseconds(delay(random)),
                  [&](int readyFd) { WriteForever(path, records, readyFd); });
        CRadData loaded;
        const int now = loaded.LoadFile(path.c_str());
        ASSERT_GE(now, records) << "after kill " << kill;
        for (int k = 0; k < now; ++k) {
            const RADDATA expected = RecordNumber(k);
            ASSERT_EQ(std::memcmp(loaded.GetRecord(k), &expected, sizeof expected), 0)
                << "record " << k << " after kill " << kill;
        }
        EXPECT_STREQ(loaded.m_type, "TYPE-A");
        records = now;
    }
    EXPECT_GT(records, 1);
    // No temporary files are left to fill the disk: at most the one a rewrite was killed in.
    int files = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(folder)) {
        ++files;
    }
    EXPECT_LE(files, 1 + kKills);
}

TEST_F(CrashWhileWriting, SettingsFileIsTheOldOrTheNewOne) {
    const std::string path = folder + "Orvel.cfg";
    std::uniform_int_distribution<int> delay(0, 3000);
    for (int kill = 0; kill < kKills; ++kill) {
        KillAfter(std::chrono::microseconds(delay(random)),
                  [&](int readyFd) { StoreSettingsForever(path, readyFd); });
        if (!std::filesystem::exists(path)) {
            continue;  // killed before the first store finished
        }
        COrvelSettings loaded("/tmp/");
        ASSERT_EQ(loaded.LoadSaveConfig(path, COrvelSettings::kLoad), 1) << "after kill " << kill;
        const bool even = loaded.m_comPort == 4 && loaded.m_dataMemo == std::string(300, 'a') &&
                          loaded.m_latitude == 60.0;
        const bool odd =
            loaded.m_comPort == 7 && loaded.m_dataMemo == "short" && loaded.m_latitude == -33.5;
        ASSERT_TRUE(even || odd) << "after kill " << kill;
    }
}
