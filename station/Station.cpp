// The station's life: set-up and retries, the slot loop, reload, reconnection and the stop.
#include "station/Station.h"

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>

#include "data/CLocaleFormat.h"
#include "data/LocalTime.h"
#include "document/HomeFolder.h"
#include "link/PortMap.h"
#include "measurement/BandAngle.h"
#include "measurement/IClock.h"
#include "measurement/Sun.h"
#include "resources/StringTable.h"
#include "station/IStationSleeper.h"
#include "station/JournalLog.h"
#include "station/ServiceNotifier.h"

namespace {

constexpr int64_t kLongestHousekeeping = 600;

std::string Field(const char (&field)[kTextFieldSize]) {
    return std::string(field, strnlen(field, kTextFieldSize));
}

long long FileSize(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? static_cast<long long>(st.st_size) : 0;
}

std::string FileTail(const std::string& path, long long from) {
    std::ifstream in(path, std::ios::binary);
    in.seekg(from);
    return in ? std::string(std::istreambuf_iterator<char>(in), {}) : std::string();
}

std::string TimeOfDay(int64_t seconds) {
    return FormatC("%02d:%02d:%02d", static_cast<int>(seconds / 3600 % 24),
                   static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60));
}

}  // namespace

CStation::CStation(const StationOptions& options, const StationServices& services)
    : m_home(options.home),
      m_portOverride(options.port),
      m_clock(services.clock),
      m_sleeper(services.sleeper),
      m_log(services.log),
      m_notifier(services.notifier),
      m_view([this](const std::string& text) { NoteError(text); }),
      m_doc(options.home, options.language),
      m_controller(m_doc, m_view, m_view, m_view, services.clock, m_view),
      m_pump(services.pump, services.steady, [this] { m_controller.OnMeasBreak(); }),
      m_planner(services.clock) {
    m_doc.SetMessageBox(&m_view);
    m_doc.m_link.SetPortMap(CPortMap(m_doc.m_exeDir + "ports"));
    m_doc.m_link.SetWaitPump(&m_pump);
    m_doc.m_link.SetClock(&services.steady);
    if (m_portOverride >= 0) {
        m_doc.m_comPort = m_portOverride;
    }
    m_status.pid = ::getpid();
    ApplySchedule();
}

CStation::~CStation() {
    m_doc.SetMessageBox(nullptr);
}

void CStation::OnSignal(int signal) {
    if (signal == SIGHUP) {
        RequestReload();
    } else {
        RequestStop();
    }
}

void CStation::RequestStop() {
    m_stopRequested = true;
    m_pump.BeginStop();
}

void CStation::Info(const std::string& text) {
    m_log.Write(CJournalLog::Priority::Info, text);
}

void CStation::Warn(const std::string& text) {
    m_log.Write(CJournalLog::Priority::Warning, text);
}

void CStation::NoteError(const std::string& text) {
    m_status.lastError = CJournalLog::OneLine(text);
    m_status.lastErrorTime = m_clock.Now();
    m_log.Write(CJournalLog::Priority::Error, text);
}

std::string CStation::PortText() const {
    const std::string device = m_doc.m_link.PortMap().DeviceName(m_doc.m_comPort);
    return FormatC("COM%d", m_doc.m_comPort) + (device.empty() ? "" : " (" + device + ")");
}

std::string CStation::TimeText(int64_t t) const {
    struct tm local {};
    return m_clock.LocalTime(t, local) ? FormatTime("%Y-%m-%d %H:%M:%S", local) : "?";
}

void CStation::SetState(const char* state) {
    m_status.state = state;
    PublishStatus();
}

void CStation::PublishStatus() {
    m_status.updated = m_clock.Now();
    m_status.period = m_doc.m_intervalPeriod;
    m_status.port = m_doc.m_comPort;
    m_status.device = m_doc.m_link.PortMap().DeviceName(m_doc.m_comPort);
    m_status.nextSlot = m_nextSlot > 0 ? m_nextSlot : 0;
    m_status.WriteFile(StatusPath());
    m_published = m_status;
}

// Between slots the file is rewritten only when something changed or, as a sign of life for
// "--status", when half a period has passed: a flash card is not written every minute.
void CStation::RefreshStatus() {
    CStationStatus now = m_status;
    now.period = m_doc.m_intervalPeriod;
    now.port = m_doc.m_comPort;
    now.device = m_doc.m_link.PortMap().DeviceName(m_doc.m_comPort);
    now.nextSlot = m_nextSlot > 0 ? m_nextSlot : 0;
    const int64_t heartbeat = std::max<int64_t>(60, m_doc.m_intervalPeriod / 2);
    if (!now.SameAs(m_published) || m_clock.Now() - m_published.updated >= heartbeat) {
        PublishStatus();
    }
}

void CStation::ApplySchedule() {
    m_planner.SetSchedule(m_doc.m_intervalStart, m_doc.m_intervalEnd, m_doc.m_intervalPeriod);
}

// The window program's dialog refuses a missing data folder; with nobody to ask, the station
// makes it, so the first slot can be written.
void CStation::EnsureDataFolder() {
    const std::string& folder = m_doc.m_dataFolder;
    struct stat st {};
    if (!folder.empty() && ::stat(folder.c_str(), &st) != 0) {
        if (CHomeFolder::CreateFolder(folder)) {
            Info("created the data folder " + folder);
        } else {
            NoteError("cannot create the data folder " + folder);
        }
    }
}

void CStation::Announce() {
    Info("halvo-station started in " + m_home + ": port " + PortText() + ", slots every " +
         FormatC("%lld s", static_cast<long long>(m_doc.m_intervalPeriod)) + " from " +
         TimeOfDay(m_doc.m_intervalStart) + " to " + TimeOfDay(m_doc.m_intervalEnd) +
         ", data folder " + m_doc.m_dataFolder);
    EnsureDataFolder();
}

// The document's new-document step with nobody to choose another port: the same checks and
// commands in the same order, the message-box texts logged.
bool CStation::SetUp() {
    SetState("setting-up");
    m_view.TakeMessageCount();
    const bool ok = m_doc.OnNewDocument(m_view);
    const int messages = m_view.TakeMessageCount();
    std::string summary;
    if (ok) {
        m_backoff.Reset();
        m_bandParked = false;
        const CRadData& d = m_doc.m_radData;
        m_status.instrument = Field(d.m_id) + " " + Field(d.m_serial) + " " + Field(d.m_type) +
                              " " + Field(d.m_fwVersion);
        summary = "instruments ready on " + PortText() + ": " + m_status.instrument;
        m_log.Write(CJournalLog::Priority::Notice, summary);
        SetState("waiting");
    } else {
        const int64_t wait = m_backoff.Next();
        m_retryAt = m_clock.Now() + wait;
        const std::string why = messages > 0 ? CJournalLog::OneLine(m_view.LastMessage())
                                             : "the port " + PortText() + " cannot be opened";
        summary = "set-up failed (" + why + "); next try in " +
                  FormatC("%lld s", static_cast<long long>(wait));
        NoteError(summary);
        SetState("disconnected");
    }
    if (m_notifier != nullptr) {
        // Ready once the first set-up has been tried: from then on the station runs its
        // schedule and retries by itself, which is what the service manager waits for.
        if (!m_announcedReady) {
            m_notifier->Ready(summary);
            m_announcedReady = true;
        } else {
            m_notifier->Status(summary);
        }
    }
    return ok;
}

void CStation::Reload() {
    m_reloadRequested = false;
    const std::string oldDevice = m_doc.m_link.PortMap().DeviceName(m_doc.m_comPort);
    const int oldPort = m_doc.m_comPort;
    m_doc.LoadSaveConfig(m_doc.m_cfgPath, COrvelSettings::kLoad);
    if (m_portOverride >= 0) {
        m_doc.m_comPort = m_portOverride;
    }
    ApplySchedule();
    EnsureDataFolder();
    m_nextSlot = m_planner.NextAfter(m_clock.Now());
    Info("Orvel.cfg reloaded: port " + PortText() + ", slots every " +
         FormatC("%lld s", static_cast<long long>(m_doc.m_intervalPeriod)) + " from " +
         TimeOfDay(m_doc.m_intervalStart) + " to " + TimeOfDay(m_doc.m_intervalEnd) +
         ", data folder " + m_doc.m_dataFolder +
         FormatC(", site %.4f %.4f", m_doc.m_longitude, m_doc.m_latitude));
    const bool portChanged = m_doc.m_comPort != oldPort ||
                             m_doc.m_link.PortMap().DeviceName(m_doc.m_comPort) != oldDevice;
    if (portChanged && Connected()) {
        Info("the port changed: reconnecting on " + PortText());
        m_doc.m_link.ClosePort();
    }
    if (!Connected()) {
        m_backoff.Reset();
        m_retryAt = m_clock.Now();
    }
    PublishStatus();
}

void CStation::Missed(int64_t t, const char* why) {
    ++m_status.due;
    ++m_status.missed;
    m_status.lastMissed = t;
    Warn("slot " + TimeText(t) + " missed: " + why);
}

// The latest slot that is due is measured; earlier ones that passed meanwhile (a late wake,
// a lost port) are missed, and so are those that fell due while it was measured, as the
// window program refuses a slot while a sequence runs.
void CStation::HandleDueSlot() {
    const int64_t now = m_clock.Now();
    if (m_nextSlot < 0 || now < m_nextSlot) {
        return;
    }
    int64_t slot = m_nextSlot;
    for (int64_t next = m_planner.NextAfter(slot); next > 0 && next <= now;
         next = m_planner.NextAfter(slot)) {
        Missed(slot,
               Connected() ? "the station woke too late" : "the instruments are disconnected");
        slot = next;
    }
    if (Connected()) {
        ++m_status.due;
        MeasureSlot(slot);
    } else {
        Missed(slot, "the instruments are disconnected");
    }
    const int64_t after = m_clock.Now();
    for (int64_t next = m_planner.NextAfter(slot); next > 0 && next <= after;
         next = m_planner.NextAfter(slot)) {
        Missed(next, "the previous slot was still being measured");
        slot = next;
    }
    m_nextSlot = m_planner.NextAfter(slot);
}

void CStation::MeasureSlot(int64_t t) {
    SetState("measuring");
    const std::string logPath = m_doc.m_exeDir + "log.txt";
    const long long logSize = FileSize(logPath);
    m_view.ClearFileStatus();
    m_view.TakeMessageCount();
    m_controller.OnIntervalMeasure(t);
    const bool refused =
        m_view.TakeMessageCount() > 0 &&
        m_view.LastMessage() == LoadResString(IDS_APPEND_FORMAT_DIFFERS, m_doc.m_language);
    const CSlotOutcome outcome =
        CSlotOutcome::Of(m_doc.m_radData, t, FileTail(logPath, logSize), m_view.FileStatus(),
                         refused, m_stopRequested, m_doc.m_longitude, m_doc.m_latitude);
    RecordOutcome(t, outcome);
    if (!Connected()) {
        PortLost("the port was lost during the slot");
    } else if (!m_stopRequested) {
        SetState("waiting");
    }
}

void CStation::RecordOutcome(int64_t t, const CSlotOutcome& outcome) {
    m_status.lastSlot = t;
    m_status.lastResult = CSlotOutcome::Name(outcome.result);
    m_bandParked = outcome.result != CSlotOutcome::Result::NotMeasured;
    if (outcome.result == CSlotOutcome::Result::Measured ||
        outcome.result == CSlotOutcome::Result::PositionsFailed ||
        outcome.result == CSlotOutcome::Result::FileError) {
        ++m_status.measured;
        m_status.failedPositions += static_cast<int64_t>(outcome.failedPositions.size());
        m_status.par = outcome.par;
        m_status.photon = outcome.photon;
        m_status.lum = outcome.lum;
        m_status.uva = outcome.uva;
        m_status.temperature = outcome.temperature;
    }
    const std::string line = outcome.Describe(TimeText(t));
    if (outcome.Failed()) {
        NoteError(line);
    } else {
        Info(line);
    }
}

void CStation::PortLost(const char* why) {
    m_doc.m_link.ClosePort();
    const int64_t wait = m_backoff.Next();
    m_retryAt = m_clock.Now() + wait;
    NoteError(std::string("disconnected: ") + why + "; next try in " +
              FormatC("%lld s", static_cast<long long>(wait)));
    SetState("disconnected");
    if (m_notifier != nullptr) {
        m_notifier->Status("disconnected: " + std::string(why));
    }
}

// Wakes for the next slot, the next retry, and at least once a housekeeping interval (the
// watchdog and the status file's age); slots are at least a minute apart, so waiting costs
// at most two wake-ups a minute.
int64_t CStation::HousekeepingSeconds() const {
    int64_t seconds = std::clamp<int64_t>(m_doc.m_intervalPeriod, 60, kLongestHousekeeping);
    if (m_notifier != nullptr && m_notifier->WatchdogMicroseconds() > 0) {
        seconds = std::min<int64_t>(
            seconds, std::max<int64_t>(1, m_notifier->WatchdogMicroseconds() / 2000000));
    }
    return seconds;
}

void CStation::Sleep() {
    const int64_t now = m_clock.Now();
    int64_t wake = now + HousekeepingSeconds();
    if (m_nextSlot > 0) {
        wake = std::min(wake, m_nextSlot);
    }
    if (!Connected()) {
        wake = std::min(wake, m_retryAt);
    }
    RefreshStatus();
    const auto woke =
        m_sleeper.SleepUntil(std::max(wake, now + 1), Connected() ? m_doc.m_link.Fd() : -1);
    if (m_notifier != nullptr) {
        m_notifier->Watchdog();
    }
    if (woke == IStationSleeper::Wake::HangUp && Connected()) {
        PortLost("the port hung up");
    }
}

int CStation::Run() {
    Announce();
    m_controller.m_scheduler.StartInterval();
    m_nextSlot = m_planner.NextAfter(m_clock.Now());
    if (m_nextSlot < 0) {
        Warn("the settings give no slot: the window holds no multiple of the period");
    }
    while (!m_stopRequested) {
        if (m_reloadRequested) {
            Reload();
        }
        if (!Connected() && m_clock.Now() >= m_retryAt) {
            SetUp();
        }
        HandleDueSlot();
        if (!m_stopRequested) {
            Sleep();
        }
    }
    return Stop();
}

int CStation::RunOnce() {
    Announce();
    if (!SetUp()) {
        Stop();
        return 1;
    }
    const int64_t t = m_clock.Now();
    ++m_status.due;
    MeasureSlot(t);
    const bool measured = m_status.lastResult == "measured";
    Stop();
    return measured ? 0 : 1;
}

// The band goes to the side of the sky the sun is not on, as the sequence parks it.
void CStation::ParkBand() {
    CSun sun;
    sun.ComputeAt(m_clock.Now(), m_doc.m_longitude, m_doc.m_latitude);
    const double beta = BandAngle(sun.m_azimuth, RefractedElevation(sun.m_elevation));
    m_doc.m_link.MoveBand(beta >= 0 ? CMeasurementSequence::kParkAngle
                                    : -CMeasurementSequence::kParkAngle);
    m_bandParked = true;
}

// The document stores the settings when it goes; what a person wrote into "Orvel.cfg" while
// the station ran is kept, and only what the station learned (the exposure) is added.
void CStation::KeepOnlyLearnedSettings() {
    const int32_t exposure = m_doc.m_exposureIndex;
    m_doc.LoadSaveConfig(m_doc.m_cfgPath, COrvelSettings::kLoad);
    m_doc.m_exposureIndex = exposure;
}

int CStation::Stop() {
    m_status.state = "stopping";
    PublishStatus();
    if (m_notifier != nullptr) {
        m_notifier->Stopping();
    }
    if (Connected() && !m_bandParked) {
        ParkBand();
    }
    m_doc.m_link.ClosePort();
    KeepOnlyLearnedSettings();
    m_log.Write(CJournalLog::Priority::Notice, "halvo-station stopped");
    return 0;
}
