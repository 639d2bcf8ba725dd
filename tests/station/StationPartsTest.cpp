// The station's parts: slot planning, retry delays, log lines, service notifications, the
// home folder, and the status file with its monitoring verdicts.
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "document/HomeFolder.h"
#include "station/JournalLog.h"
#include "station/ReconnectBackoff.h"
#include "station/ServiceNotifier.h"
#include "station/SlotOutcome.h"
#include "station/SlotPlanner.h"
#include "station/StationStatus.h"
#include "station/StatusCheck.h"
#include "tests/support/Fakes.h"
#include "tests/support/ScopedTimeZone.h"
#include "tests/support/TestFiles.h"

TEST(SlotPlanner, FindsTheGridBoundariesTheWindowProgramTickDetects) {
    ScopedTimeZone zone("Asia/Tokyo");
    const int64_t day = LocalStamp(2024, 6, 21, 0, 0);
    const struct {
        const char* what;
        int64_t from, to, period;
        int hour, minute, second;  // "now" on 21 June 2024
        int64_t expected;          // seconds after 21 June 2024 00:00 local, or -1
    } cases[] = {
        {"a start between slots waits for the next", 21600, 68400, 600, 10, 3, 20, 36600},
        {"a start on a slot waits for the one after", 21600, 68400, 600, 10, 10, 0, 37200},
        {"before the window: its first slot", 21600, 68400, 600, 5, 30, 0, 21600},
        {"a window start off the grid: the next multiple", 21900, 68400, 600, 6, 0, 0, 22200},
        {"the evening's last slot is the window's end", 21600, 68400, 600, 18, 55, 0, 68400},
        {"after the window: tomorrow's first", 21600, 68400, 600, 19, 0, 0, 86400 + 21600},
        {"a window from midnight has a midnight slot", 0, 86399, 3600, 23, 30, 0, 86400},
        {"From after To never measures", 72000, 21600, 600, 10, 0, 0, -1},
        {"a period of 0 measures nothing", 21600, 68400, 0, 10, 0, 0, -1},
        {"a period of a day never crosses a boundary", 0, 86399, 86400, 10, 0, 0, -1},
    };
    FakeWallClock clock;
    for (const auto& c : cases) {
        CSlotPlanner planner(clock);
        planner.SetSchedule(c.from, c.to, c.period);
        const int64_t slot = planner.NextAfter(LocalStamp(2024, 6, 21, c.hour, c.minute, c.second));
        EXPECT_EQ(slot, c.expected < 0 ? -1 : day + c.expected) << c.what;
    }
}

TEST(SlotPlanner, TheRepeatedHourOfAnAutumnNightNeverGoesBackInTime) {
    ScopedTimeZone zone("Europe/Helsinki");
    FakeWallClock clock;
    CSlotPlanner planner(clock);
    planner.SetSchedule(0, 86399, 600);
    int slots = 0;
    for (int64_t t = LocalStamp(2024, 10, 27, 2, 0); t < LocalStamp(2024, 10, 27, 6, 0); ++slots) {
        const int64_t next = planner.NextAfter(t);
        ASSERT_GT(next, t);
        t = next;
    }
    EXPECT_GE(slots, 24);  // four hours of the clock, one of them passed twice
}

TEST(ReconnectBackoff, WaitsThirtySecondsDoublingToFiveMinutesUntilReset) {
    CReconnectBackoff backoff;
    for (int64_t wait : {30, 60, 120, 240, 300, 300}) {
        EXPECT_EQ(backoff.Next(), wait);
    }
    backoff.Reset();
    EXPECT_EQ(backoff.Next(), 30);
}

TEST(JournalLog, JournalLinesCarryThePriorityAndTerminalLinesTheTime) {
    ScopedTimeZone zone("UTC");
    FakeWallClock clock;
    clock.now = LocalStamp(2024, 6, 21, 10, 0, 5);
    const CJournalLog journal(-1, true, clock);
    const CJournalLog terminal(-1, false, clock);
    EXPECT_EQ(journal.Line(CJournalLog::Priority::Error, "ZEB Com. Error\n(Timeout)"),
              "<3>ZEB Com. Error / (Timeout)");
    EXPECT_EQ(journal.Line(CJournalLog::Priority::Info, "slot"), "<6>slot");
    EXPECT_EQ(terminal.Line(CJournalLog::Priority::Warning, "missed"),
              "2024-06-21 10:00:05 missed");
}

TEST(ServiceNotifier, SendsDatagramsToTheNotifySocketAndNothingWithoutOne) {
    TempFolder dir;
    const std::string path = dir.Path() + "notify";
    const int server = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{AF_UNIX, {}};
    path.copy(address.sun_path, path.size());
    ASSERT_EQ(bind(server, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    setenv("NOTIFY_SOCKET", path.c_str(), 1);
    setenv("WATCHDOG_USEC", "120000000", 1);
    unsetenv("WATCHDOG_PID");
    {
        CServiceNotifier notifier;
        EXPECT_EQ(notifier.WatchdogMicroseconds(), 120000000);
        notifier.Ready("instruments ready");
        notifier.Watchdog();
        notifier.Stopping();
    }
    std::vector<std::string> received;
    char buffer[256];
    for (ssize_t n; (n = recv(server, buffer, sizeof buffer, MSG_DONTWAIT)) > 0;) {
        received.emplace_back(buffer, static_cast<size_t>(n));
    }
    EXPECT_EQ(received, (std::vector<std::string>{"READY=1\nSTATUS=instruments ready", "WATCHDOG=1",
                                                  "STOPPING=1"}));
    unsetenv("NOTIFY_SOCKET");
    unsetenv("WATCHDOG_USEC");
    CServiceNotifier silent;
    EXPECT_FALSE(silent.Send("READY=1"));
    close(server);
}

TEST(HomeFolder, BesideAWritableProgramElseTheConfigFolderUnlessChosen) {
    TempFolder dir;
    const std::string& build = dir.Path();
    const CHomeFolder::Environment xdg{"/cfg", "/home/u"};
    const CHomeFolder::Environment plain{"", "/home/u"};
    // A build folder or portable copy keeps its files beside the program.
    EXPECT_EQ(CHomeFolder::Choose("", build, xdg), build);
    // An installed program uses the user's config folder, even where root could write.
    EXPECT_EQ(CHomeFolder::Choose("", "/usr/bin/", xdg), "/cfg/halvo/");
    EXPECT_EQ(CHomeFolder::Choose("", "/nonexistent-halvo/bin/", plain), "/home/u/.config/halvo/");
    EXPECT_EQ(CHomeFolder::Choose("", "/usr/bin/", {"relative", "/home/u"}),
              "/home/u/.config/halvo/");
    // --home wins over both.
    EXPECT_EQ(CHomeFolder::Choose("/var/lib/halvo", build, xdg), "/var/lib/halvo/");
    // Resolve creates the chosen folder on first use.
    EXPECT_EQ(CHomeFolder::Resolve(build + "a/b"), build + "a/b/");
    EXPECT_TRUE(std::filesystem::is_directory(build + "a/b"));
}

// The file sets every member (a text with a line break, quotes and a backslash among them);
// what is read from it is written back byte for byte.
TEST(StationStatus, RoundTripsThroughItsJsonFile) {
    ScopedTimeZone zone("UTC");
    const std::string path = HALVO_AREA_DATA_DIR "/status.json";
    CStationStatus status;
    ASSERT_TRUE(status.FromJson(ReadFileBytes(path)));
    EXPECT_EQ(ReferenceMismatch(status.ToJson(), path), "");
    EXPECT_EQ(status.lastError, "ZEB Com. Error\n\"(Time\\out)\"");
    EXPECT_FALSE(status.FromJson("not json"));
    EXPECT_FALSE(status.FromJson("{\"state\": \"\\uZZZZ\"}"));  // damaged, not thrown
}

TEST(StatusCheck, ExitCodesForMonitoring) {
    using enum CStatusCheck::Verdict;
    const struct {
        const char* what;
        bool haveStatus, running;
        const char* state;
        int64_t age;  // seconds since the status was written
        const char* lastResult;
        int64_t missedAgo;  // 0: never
        CStatusCheck::Verdict expected;
    } cases[] = {
        {"waiting after a measured slot", true, true, "waiting", 30, "measured", 0, kFine},
        {"no sun is no failure", true, true, "waiting", 30, "no-sun", 0, kFine},
        {"a slot missed two hours ago is history", true, true, "waiting", 30, "measured", 7200,
         kFine},
        {"a slot missed in the last hour", true, true, "waiting", 30, "measured", 600, kWarning},
        {"positions failed", true, true, "waiting", 30, "positions-failed", 0, kWarning},
        {"band silent", true, true, "waiting", 30, "not-measured", 0, kWarning},
        {"files not written", true, true, "waiting", 30, "file-error", 0, kWarning},
        {"disconnected", true, true, "disconnected", 30, "measured", 0, kCritical},
        {"not running", true, false, "waiting", 30, "measured", 0, kCritical},
        {"never ran here", false, false, "", 0, "none", 0, kCritical},
        {"older than two periods: hung", true, true, "measuring", 1201, "measured", 0, kCritical},
        {"two periods old is still fresh", true, true, "waiting", 1200, "measured", 0, kFine},
    };
    const char* const words[] = {"OK: ", "WARNING: ", "CRITICAL: "};
    const int64_t now = 1718953200;
    for (const auto& c : cases) {
        CStationStatus s;
        s.state = c.state;
        s.period = 600;
        s.updated = now - c.age;
        s.lastResult = c.lastResult;
        s.lastMissed = c.missedAgo > 0 ? now - c.missedAgo : 0;
        std::string reason;
        EXPECT_EQ(CStatusCheck::Judge(s, c.haveStatus, c.running, now, reason), c.expected)
            << c.what;
        EXPECT_TRUE(CStatusCheck::Report(s, c.expected, reason).starts_with(words[c.expected]))
            << c.what;
    }
    EXPECT_TRUE(CStatusCheck::ProcessRunning(getpid()));
    EXPECT_FALSE(CStatusCheck::ProcessRunning(0));
}

TEST(SlotOutcome, APositionFailsWhenItsFourthAttemptFailed) {
    const std::string log =
        "2024,06,21,10,10,00,meas0 error(1)\n"
        "2024,06,21,10,10,01,meas2 error(1)\n2024,06,21,10,10,02,meas2 error(2)\n"
        "2024,06,21,10,10,03,meas2 error(3)\n2024,06,21,10,10,04,meas2 error(4)\n";
    EXPECT_EQ(CSlotOutcome::FailedPositions(log), std::vector<int>{2});
    EXPECT_TRUE(CSlotOutcome::FailedPositions("").empty());
}
