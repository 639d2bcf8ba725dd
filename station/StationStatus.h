// CStationStatus: what the status file "halvo-station.status" says about a running station.
#pragma once

#include <cstdint>
#include <string>

inline constexpr const char* kStatusFileName = "halvo-station.status";

class CStationStatus {
public:
    // Times are seconds since 1970 (0: never). Results of a slot: "measured",
    // "positions-failed", "not-measured" (the band did not answer), "no-sun", "broken-off",
    // "file-error", "none" (no slot yet).
    std::string state = "setting-up";  // setting-up, waiting, measuring, disconnected, stopping
    int64_t pid = 0;
    int64_t updated = 0;
    int64_t period = 0;
    int64_t port = 0;
    std::string device;
    std::string instrument;
    int64_t lastSlot = 0;
    std::string lastResult = "none";
    double par = 0, photon = 0, lum = 0, uva = 0, temperature = 0;
    int64_t nextSlot = 0;
    int64_t due = 0;
    int64_t measured = 0;
    int64_t failedPositions = 0;
    int64_t missed = 0;
    int64_t lastMissed = 0;
    std::string lastError;
    int64_t lastErrorTime = 0;

    // One flat JSON object, one key a line, times also as local text for people.
    std::string ToJson() const;
    // Reads what ToJson wrote; false when text is not such an object.
    bool FromJson(const std::string& text);
    // Written to a temporary file and renamed over path.
    bool WriteFile(const std::string& path) const;
    bool ReadFile(const std::string& path);

    // Equal apart from the time of writing.
    bool SameAs(const CStationStatus& other) const;
};
