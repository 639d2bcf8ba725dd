// ScriptedInstrument: both instruments on a pseudo-terminal, answering as the test scripts them.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class ScriptedInstrument {
public:
    using Counts = std::array<int16_t, 2048>;

    ScriptedInstrument();
    ~ScriptedInstrument();
    ScriptedInstrument(const ScriptedInstrument&) = delete;
    ScriptedInstrument& operator=(const ScriptedInstrument&) = delete;

    const std::string& SlavePath() const { return m_slavePath; }
    std::vector<std::string> Requests() const;
    void ClearRequests();

    // Counts of a "RB" read for the exposure of the last "GM" and the shutter state.
    std::function<Counts(int exposure, bool shutterOpen)> counts;
    // Requests answered "ERR\r" (matched by their beginning, e.g. "GM" or "#").
    std::vector<std::string> refused;
    std::atomic<bool> bandSilent{false};
    std::atomic<bool> spectroSilent{false};
    int motorSpeed = 2500;
    int slewRate = 200;

private:
    void Serve();
    std::string Answer(const std::string& request, size_t& blockBytes);
    bool Refused(const std::string& request) const;

    int m_master = -1;
    int m_stopPipe[2] = {-1, -1};
    std::string m_slavePath;
    mutable std::mutex m_mutex;
    std::vector<std::string> m_requests;
    int m_exposure = 0;
    bool m_shutterOpen = false;
    std::thread m_thread;
};

// A flat block of counts, with one pixel raised to the given peak.
ScriptedInstrument::Counts PeakCounts(int base, int peak);
