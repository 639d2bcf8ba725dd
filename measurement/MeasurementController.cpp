// The measurement controller: commands, enabling, close decision and the interval events.
#include "measurement/MeasurementController.h"

#include "document/OrvelDoc.h"
#include "measurement/IClock.h"
#include "measurement/IViewEvents.h"

CMeasurementController::CMeasurementController(COrvelDoc& doc, IProgressDisplay& progress,
                                               IIntervalDisplay& display, IViewEvents& events,
                                               const IClock& clock, IMessageBox& messageBox)
    : m_sequence(doc, progress, clock),
      m_scheduler(doc, m_sequence, display, events, clock, messageBox),
      m_doc(doc),
      m_events(events),
      m_clock(clock) {}

int CMeasurementController::MeasureNow() {
    const int result = m_sequence.RunMeasurement(m_clock.Now());
    m_events.MeasurementEnded();
    return result;
}

bool CMeasurementController::CanMeasureNow() const {
    return m_doc.m_link.IsOpen() && !m_sequence.IsMeasuring() && !m_scheduler.IsOn();
}

bool CMeasurementController::CanStartInterval() const {
    return m_doc.m_link.IsOpen() && !m_scheduler.IsOn();
}

void CMeasurementController::OnInitialUpdate() {
    m_scheduler.OnInitialUpdate();
    m_events.CommandStateChanged();
}

bool CMeasurementController::QueryClose() {
    if (!m_scheduler.IsOn()) {
        return true;
    }
    const bool stopped = m_scheduler.StopInterval(1) == 1;
    if (stopped) {
        m_events.CommandStateChanged();
    }
    return stopped;
}

void CMeasurementController::StopIntervalWithoutQuestion() {
    if (m_scheduler.IsOn()) {
        m_scheduler.StopInterval(0);
        m_events.CommandStateChanged();
    }
}

void CMeasurementController::OnIntervalMeasure(int64_t t) {
    m_scheduler.OnIntervalMeasure(t);
    // A slot refused because a sequence is running has ended nothing.
    if (!m_sequence.IsBusy()) {
        m_events.MeasurementEnded();
    }
}

void CMeasurementController::OnIntervalBreak() {
    m_scheduler.OnIntervalBreak();
    m_events.CommandStateChanged();
}
