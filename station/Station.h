// CStation: unattended interval measurement without a display: set-up with retries, slots
// planned ahead, reconnection, reload and stop, and the status the station reports.
#pragma once

#include <cstdint>
#include <string>

#include "data/NonCopyable.h"
#include "document/OrvelDoc.h"
#include "measurement/MeasurementController.h"
#include "station/ReconnectBackoff.h"
#include "station/SlotOutcome.h"
#include "station/SlotPlanner.h"
#include "station/StationStatus.h"
#include "station/StationView.h"
#include "station/StopAwarePump.h"

class CJournalLog;
class CServiceNotifier;
class IClock;
class ISteadyClock;
class IStationSleeper;
class IWaitPump;

struct StationOptions {
    std::string home;  // folder of "Orvel.cfg", "ports/", "log.txt" and the status file
    int port = -1;     // overrides the stored port for this run when >= 0
    Language language = Language::English;
};

// What a station runs on: the program passes the system's, tests pass fakes. Each must
// outlive the station; the notifier may be null.
struct StationServices {
    const IClock& clock;
    const ISteadyClock& steady;
    IWaitPump& pump;
    IStationSleeper& sleeper;
    CJournalLog& log;
    CServiceNotifier* notifier = nullptr;
};

class CStation : CNonCopyable {
public:
    CStation(const StationOptions& options, const StationServices& services);
    ~CStation();

    // Interval measurement until a stop is requested; 0 then.
    int Run();
    // One measurement now, written as a slot would write it: 0 when all four positions were
    // measured and written, 1 otherwise.
    int RunOnce();

    // SIGTERM and SIGINT stop, SIGHUP reloads "Orvel.cfg" before the next slot.
    void OnSignal(int signal);
    void RequestStop();
    void RequestReload() { m_reloadRequested = true; }

    COrvelDoc& Document() { return m_doc; }
    const CStationStatus& Status() const { return m_status; }
    std::string StatusPath() const { return m_home + kStatusFileName; }

private:
    bool Connected() const { return m_doc.m_link.IsOpen(); }
    void Announce();
    void EnsureDataFolder();
    bool SetUp();
    void Reload();
    void ApplySchedule();
    void HandleDueSlot();
    void MeasureSlot(int64_t t);
    void RecordOutcome(int64_t t, const CSlotOutcome& outcome);
    void Missed(int64_t t, const char* why);
    void PortLost(const char* why);
    void Sleep();
    int64_t HousekeepingSeconds() const;
    int Stop();
    void ParkBand();
    void KeepOnlyLearnedSettings();

    void SetState(const char* state);
    void PublishStatus();
    void RefreshStatus();
    void NoteError(const std::string& text);
    void Info(const std::string& text);
    void Warn(const std::string& text);
    std::string PortText() const;
    std::string TimeText(int64_t t) const;

    std::string m_home;
    int m_portOverride;
    const IClock& m_clock;
    IStationSleeper& m_sleeper;
    CJournalLog& m_log;
    CServiceNotifier* m_notifier;

    CStationView m_view;
    COrvelDoc m_doc;
    CMeasurementController m_controller;
    CStopAwarePump m_pump;
    CSlotPlanner m_planner;
    CReconnectBackoff m_backoff;
    CStationStatus m_status;
    CStationStatus m_published;

    int64_t m_nextSlot = -1;
    int64_t m_retryAt = 0;
    bool m_stopRequested = false;
    bool m_reloadRequested = false;
    bool m_announcedReady = false;
    bool m_bandParked = false;
};
