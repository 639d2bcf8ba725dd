// The rules that turn a station's status file into a monitoring verdict.
#include "station/StatusCheck.h"

#include <signal.h>

#include <cerrno>

#include "data/CLocaleFormat.h"
#include "data/LocalTime.h"
#include "station/StationStatus.h"

namespace {

constexpr int64_t kMissedWarningSeconds = 3600;
constexpr int64_t kDefaultPeriod = 600;

bool SlotFailed(const std::string& result) {
    return result == "positions-failed" || result == "not-measured" || result == "file-error";
}

std::string When(int64_t t) {
    struct tm local {};
    return t > 0 && ToLocalTime(t, local) ? FormatTime("%Y-%m-%d %H:%M:%S", local) : "-";
}

}  // namespace

bool CStatusCheck::ProcessRunning(int64_t pid) {
    return pid > 0 && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM);
}

CStatusCheck::Verdict CStatusCheck::Judge(const CStationStatus& s, bool haveStatus, bool running,
                                          int64_t now, std::string& reason) {
    const int64_t period = s.period > 0 ? s.period : kDefaultPeriod;
    if (!haveStatus) {
        reason = "no status file: the station has not run here";
        return kCritical;
    }
    if (!running) {
        reason = "the station is not running";
        return kCritical;
    }
    if (s.state == "disconnected") {
        reason = "the instruments are disconnected";
        return kCritical;
    }
    if (now - s.updated > 2 * period) {
        reason = FormatC("the status is %lld s old", static_cast<long long>(now - s.updated));
        return kCritical;
    }
    if (SlotFailed(s.lastResult)) {
        reason = "the last slot failed (" + s.lastResult + ")";
        return kWarning;
    }
    if (s.lastMissed > 0 && now - s.lastMissed < kMissedWarningSeconds) {
        reason = "a slot was missed at " + When(s.lastMissed);
        return kWarning;
    }
    reason = s.state;
    return kFine;
}

std::string CStatusCheck::Report(const CStationStatus& s, Verdict verdict,
                                 const std::string& reason) {
    static const char* const kWords[] = {"OK", "WARNING", "CRITICAL"};
    std::string r = std::string(kWords[verdict]) + ": " + reason + "\n";
    r += "state:            " + s.state +
         FormatC(" (process %lld)\n", static_cast<long long>(s.pid));
    r += FormatC("port:             COM%lld", static_cast<long long>(s.port)) +
         (s.device.empty() ? "" : " (" + s.device + ")") + "\n";
    r += "instrument:       " + (s.instrument.empty() ? "-" : s.instrument) + "\n";
    r += "last slot:        " + When(s.lastSlot) + " " + s.lastResult + "\n";
    if (s.lastResult == "measured" || s.lastResult == "positions-failed") {
        r += FormatC(
            "quantities:       PAR %.1f W/m2, photon %.1f umol/m2/s, %.0f lx, "
            "UV-A %.2f W/m2, %.1f C\n",
            s.par, s.photon, s.lum, s.uva, s.temperature);
    }
    r += "next slot:        " + When(s.nextSlot) + "\n";
    r += FormatC("since start:      %lld due, %lld measured, %lld positions failed, %lld missed\n",
                 static_cast<long long>(s.due), static_cast<long long>(s.measured),
                 static_cast<long long>(s.failedPositions), static_cast<long long>(s.missed));
    if (!s.lastError.empty()) {
        r += "last error:       " + When(s.lastErrorTime) + " " + s.lastError + "\n";
    }
    r += "status written:   " + When(s.updated) + "\n";
    return r;
}
