// CMeasurementController: single and interval measurement with their enabling and close rules.
#pragma once

#include <cstdint>

#include "measurement/IntervalScheduler.h"
#include "measurement/MeasurementSequence.h"

// COrvelDoc, IClock, IIntervalDisplay, IMessageBox, IProgressDisplay and IViewEvents are
// declared by the scheduler's and the sequence's headers.
// Owns the measurement sequence and the interval schedule. The window program's view and the
// station program drive it: they supply the progress and interval displays, the timer and the
// posted slot (IViewEvents), and deliver timer ticks, posted slots and Break presses back.
class CMeasurementController {
public:
    CMeasurementController(COrvelDoc& doc, IProgressDisplay& progress, IIntervalDisplay& display,
                           IViewEvents& events, const IClock& clock, IMessageBox& messageBox);

    // Measure Execute: one measurement stamped now; what the sequence returned.
    int MeasureNow();
    // Execute needs the port, no measurement running and no interval measurement.
    bool CanMeasureNow() const;
    // Interval Meas. needs the port and no interval measurement.
    bool CanStartInterval() const;
    // New and Open replace what a running sequence works on.
    bool CanReplaceDocument() const { return !IsMeasuring(); }

    // The view is first shown: the schedule starts by itself when auto-start is on.
    void OnInitialUpdate();
    // Before the program ends: a running interval measurement stops only when the user agrees
    // (asked through the message box); false keeps the program running.
    bool QueryClose();
    void StopIntervalWithoutQuestion();

    // Timer 1, the posted slot and the two Break buttons.
    void OnTimer() { m_scheduler.OnTimer(); }
    void OnIntervalMeasure(int64_t t);
    void OnMeasBreak() { m_sequence.OnMeasBreak(); }
    void OnIntervalBreak();

    bool IsMeasuring() const { return m_sequence.IsMeasuring(); }
    bool IsBusy() const { return m_sequence.IsBusy(); }
    bool IsIntervalOn() const { return m_scheduler.IsOn(); }

    CMeasurementSequence m_sequence;
    CIntervalScheduler m_scheduler;

private:
    COrvelDoc& m_doc;
    IViewEvents& m_events;
    const IClock& m_clock;
};
