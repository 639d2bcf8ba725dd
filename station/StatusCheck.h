// CStatusCheck: the verdict of "halvo-station --status" for monitoring systems, and its text.
#pragma once

#include <cstdint>
#include <string>

class CStationStatus;

class CStatusCheck {
public:
    enum Verdict { kFine = 0, kWarning = 1, kCritical = 2 };

    // Critical: no status (never started), the process gone, disconnected, or a status older
    // than two periods (a hung station). Warning: the last slot failed, or a slot was missed in
    // the last hour. Fine otherwise.
    static Verdict Judge(const CStationStatus& status, bool haveStatus, bool running, int64_t now,
                         std::string& reason);
    // Whether the station's process id names a living process.
    static bool ProcessRunning(int64_t pid);
    // "OK: ...", "WARNING: ..." or "CRITICAL: ..." and the status for people, line by line.
    static std::string Report(const CStationStatus& status, Verdict verdict,
                              const std::string& reason);
};
