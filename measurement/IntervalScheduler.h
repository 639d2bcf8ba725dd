// CIntervalScheduler: unattended measurement on a daily time grid and the files of each slot.
#pragma once

#include <cstdint>
#include <string>

#include "data/DailyTextFile.h"
#include "data/RadData.h"

class COrvelDoc;
class CMeasurementSequence;
class IClock;
class IIntervalDisplay;
class IMessageBox;
class IViewEvents;

class CIntervalScheduler {
public:
    CIntervalScheduler(COrvelDoc& doc, CMeasurementSequence& sequence, IIntervalDisplay& display,
                       IViewEvents& events, const IClock& clock, IMessageBox& messageBox);

    // Starts the schedule without dialog or checks.
    void StartInterval();
    // Stops it; with ask = 1 the user may refuse (0 returned, schedule running).
    int StopInterval(int ask);
    // The one-second tick: posts a slot when a grid boundary inside the window was crossed.
    void OnTimer();
    // A due slot: measures and appends the record to the data file and the daily text file.
    void OnIntervalMeasure(int64_t t);
    void OnIntervalBreak() { StopInterval(1); }
    // The view is first shown: the schedule starts by itself when auto-start is on.
    void OnInitialUpdate();
    bool IsOn() const { return m_intervalOn != 0; }

    // File of slot t: the automatic "VS%Y%m%d.wsx" in the data folder or the user's file.
    std::string DataFilePath(int64_t t) const;
    // The daily text file "%Y%m%d.txt" in the data folder.
    std::string TextFilePath(int64_t t) const;
    // "Time %H:%M:%S\nNext %H:%M:%S" of two times of day in seconds.
    static std::string TimeText(int64_t second, int64_t next);

    int m_intervalOn = 0;
    int64_t m_lastSecond = 0;

private:
    // The newest slot that fell due while a sequence was checking the band or measuring.
    int64_t m_newestDue = 0;
    std::string InDataFolder(const std::string& name) const;
    std::string LocalDateName(const char* format, int64_t t) const;
    void StopForOtherSensorType();

    COrvelDoc& m_doc;
    CMeasurementSequence& m_sequence;
    IIntervalDisplay& m_display;
    IViewEvents& m_events;
    const IClock& m_clock;
    IMessageBox& m_messageBox;
    CDailyTextFile m_textFile;
};
