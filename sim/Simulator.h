// CSimulator: the simulated instruments served on a pseudo-terminal by a thread of their own.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "data/NonCopyable.h"
#include "sim/SimInstrument.h"
#include "sim/SimOptions.h"
#include "sim/SimRandom.h"

class CSimulator : CNonCopyable {
public:
    static constexpr int kBytesPerSecond = 3840;  // 38400 baud, 8N1: ten bits a byte

    explicit CSimulator(SIMOPTIONS options);
    ~CSimulator();

    // Opens the pseudo-terminal, publishes it at the link path and starts answering.
    // False (Error() says why) when the terminal or the link cannot be made.
    bool Start();
    // Stops answering and closes the terminal: the program on the other side sees its device
    // vanish. The link path is removed when it still points at this simulator.
    void Stop();
    bool Running() const { return m_running.load(); }
    const std::string& Error() const { return m_error; }

    // Device of the current line. A dropped line (fault) replaces it by a new terminal and
    // re-publishes the link path, as a device that was unplugged and plugged in again.
    std::string SlavePath() const;
    int LineDrops() const { return m_drops.load(); }
    // True when every byte sent to the instruments so far has been read and answered (or left
    // unanswered on purpose), or the instruments are taking their time on purpose (an exposure,
    // a band move): nothing arrives before the program sends again or that time is over.
    bool Idle() const;

    void SetFaults(const SIMFAULTS& faults);
    SIMFAULTS Faults() const;

    // Request lines received so far (without their carriage returns), oldest first.
    std::vector<std::string> Requests() const;
    void ClearRequests();
    double BandAngle() const;
    int MotorSpeed() const;
    int SlewRate() const;
    // Time the instruments spent answering so far: exposure and band-move delays plus the
    // paced wire time of every answer (0 in fast mode), in microseconds.
    int64_t BusyMicroseconds() const { return m_busyMicros.load(); }
    // Steady time at which the last byte of the latest answer was handed to the terminal.
    std::chrono::steady_clock::time_point LastReplyEnd() const;

private:
    struct FaultDraw {
        bool silence, err, split, garble, shortBlock, dropLine;
    };

    bool OpenLine();
    void CloseLine();
    void DropLine();
    void Serve();
    void ReadRequests(std::string& pending);
    void HandleRequest(const std::string& request);
    FaultDraw DrawFaults(const SIMFAULTS& faults);
    void Deliver(SIMREPLY reply, const FaultDraw& draw);
    bool WriteBytes(const char* data, size_t n);
    bool WriteNow(const char* data, size_t n);
    bool SleepUntil(std::chrono::steady_clock::time_point when);
    bool SleepMs(int ms);
    int64_t SimulatedTime() const;
    void LogRequest(const std::string& request, const char* note);
    void LogLine(const std::string& text);

    SIMOPTIONS m_options;
    mutable std::mutex m_mutex;  // guards the members below it that the thread shares
    SIMFAULTS m_faults;
    CSimInstrument m_instrument;
    std::vector<std::string> m_requests;
    std::string m_slavePath;
    std::chrono::steady_clock::time_point m_lastReplyEnd{};

    CSimRandom m_faultRandom;
    std::string m_error;
    int m_master = -1;
    int m_heldSlave = -1;  // keeps the terminal alive while no program has it open
    int m_stopFd = -1;
    std::FILE* m_log = nullptr;
    std::thread m_thread;
    std::atomic<bool> m_running{false};
    std::atomic<bool> m_stopping{false};
    std::atomic<bool> m_handling{false};
    std::atomic<bool> m_delaying{false};
    std::atomic<int> m_drops{0};
    std::atomic<int64_t> m_busyMicros{0};
};
