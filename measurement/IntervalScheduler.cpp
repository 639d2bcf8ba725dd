// Interval measurement: grid slots from the one-second tick, and the per-slot file writing.
#include "measurement/IntervalScheduler.h"

#include "data/CLocaleFormat.h"
#include "data/DataFileWriter.h"
#include "data/LocalTime.h"
#include "document/OrvelDoc.h"
#include "link/IMessageBox.h"
#include "measurement/IClock.h"
#include "measurement/IIntervalDisplay.h"
#include "measurement/IViewEvents.h"
#include "measurement/MeasurementSequence.h"
#include "resources/StringTable.h"

CIntervalScheduler::CIntervalScheduler(COrvelDoc& doc, CMeasurementSequence& sequence,
                                       IIntervalDisplay& display, IViewEvents& events,
                                       const IClock& clock, IMessageBox& messageBox)
    : m_doc(doc),
      m_sequence(sequence),
      m_display(display),
      m_events(events),
      m_clock(clock),
      m_messageBox(messageBox) {}

void CIntervalScheduler::StartInterval() {
    m_intervalOn = 1;
    m_lastSecond = m_clock.LocalSecondOfDay(m_clock.Now());
    m_display.Show();
    m_events.StartTimer();
}

int CIntervalScheduler::StopInterval(int ask) {
    m_display.SetTopmost(false);
    if (ask == 1) {
        const auto answer = m_messageBox.Show(LoadResString(IDS_STOP_INTERVAL, m_doc.m_language),
                                              IMessageBox::Buttons::OkCancel);
        if (answer == IMessageBox::Answer::Cancel) {
            m_display.SetTopmost(true);
            return 0;
        }
    }
    m_events.KillTimer();
    m_intervalOn = 0;
    m_display.Hide();
    return 1;
}

void CIntervalScheduler::OnInitialUpdate() {
    if (m_doc.m_autoStart == 1) {
        StartInterval();
    }
}

// A period of 0 or below (only a damaged settings file can hold one) measures nothing: the
// display keeps showing the window start as the next slot.
void CIntervalScheduler::OnTimer() {
    const int64_t now = m_clock.Now();
    const int64_t second = m_clock.LocalSecondOfDay(now);
    const int64_t period = m_doc.m_intervalPeriod;
    int64_t next = m_doc.m_intervalStart;
    if (period > 0 && second >= m_doc.m_intervalStart && second <= m_doc.m_intervalEnd) {
        const int64_t k = second / period;
        if (m_lastSecond / period != k) {
            const int64_t slotOfDay = k * period;
            struct tm slot {};
            if (m_clock.LocalTime(now, slot)) {
                slot.tm_hour = static_cast<int>(slotOfDay / 3600 % 24);
                slot.tm_min = static_cast<int>(slotOfDay / 60 % 60);
                slot.tm_sec = static_cast<int>(slotOfDay % 60);
                const int64_t t = m_clock.MakeLocalTime(slot);
                if (t != -1) {
                    m_events.PostIntervalMeasure(t);
                }
            }
        }
        next = (k + 1) * period;
    }
    m_lastSecond = second;
    m_display.SetTimeText(TimeText(second, next));
}

std::string CIntervalScheduler::TimeText(int64_t second, int64_t next) {
    const auto h = [](int64_t s) { return static_cast<int>(s / 3600 % 24); };
    const auto m = [](int64_t s) { return static_cast<int>(s / 60 % 60); };
    const auto sec = [](int64_t s) { return static_cast<int>(s % 60); };
    return FormatC("Time %02d:%02d:%02d\nNext %02d:%02d:%02d", h(second), m(second), sec(second),
                   h(next), m(next), sec(next));
}

std::string CIntervalScheduler::InDataFolder(const std::string& name) const {
    std::string folder = m_doc.m_dataFolder;
    if (!folder.empty() && folder.back() != '/') {
        folder += '/';
    }
    return folder + name;
}

std::string CIntervalScheduler::LocalDateName(const char* format, int64_t t) const {
    struct tm local {};
    return m_clock.LocalTime(t, local) ? FormatTime(format, local) : std::string();
}

std::string CIntervalScheduler::DataFilePath(int64_t t) const {
    if (m_doc.m_autoFileName == 1) {
        return InDataFolder(LocalDateName("VS%Y%m%d.wsx", t));
    }
    return m_doc.m_intervalFile;
}

std::string CIntervalScheduler::TextFilePath(int64_t t) const {
    return InDataFolder(LocalDateName("%Y%m%d.txt", t));
}

// A slot that falls due while the previous one has not returned is not started; when the
// previous one was still checking the band, it measures the newest due slot with that slot's
// time instead of its own, which has passed.
void CIntervalScheduler::OnIntervalMeasure(int64_t due) {
    m_newestDue = due;
    if (m_sequence.IsBusy()) {
        return;
    }
    int64_t t = due;
    const auto newest = [this, &t](int64_t) {
        t = m_newestDue;
        return t;
    };
    if (m_sequence.RunMeasurement(due, newest) == 0) {
        return;
    }
    const std::string dataPath = DataFilePath(t);
    const CRadData& current = m_doc.m_radData;
    if (current.GetSize() == 0) {
        return;
    }
    CRadData file;
    if (FileExists(dataPath)) {
        file.LoadHeader(dataPath.c_str());
        if (!SameSensorType(file, current)) {
            StopForOtherSensorType();
            return;
        }
    } else {
        file.CopyHeader(current);
    }
    file.m_memo = m_doc.m_dataMemo;
    file.m_longitude = m_doc.m_longitude;
    file.m_latitude = m_doc.m_latitude;
    const RADDATA& record = *current.GetRecord(current.GetSize() - 1);
    const bool saved = AddRecordToDataFile(file, dataPath, record);
    if (saved) {
        m_doc.SetTitle(dataPath);
        m_doc.SetModifiedFlag(false);
    }
    // The text block is built from the data file's header (its grid and calibration).
    const bool written = m_textFile.Append(TextFilePath(t), dataPath, file, record, saved);
    m_display.SetStatusText(
        saved && written ? std::string()
                         : std::string(LoadResString(IDS_FILE_SAVE_ERROR, m_doc.m_language)));
}

void CIntervalScheduler::StopForOtherSensorType() {
    m_messageBox.Show(LoadResString(IDS_APPEND_FORMAT_DIFFERS, m_doc.m_language),
                      IMessageBox::Buttons::Ok);
    m_display.SetTopmost(false);
    m_events.KillTimer();
    m_intervalOn = 0;
    m_display.Hide();
}
