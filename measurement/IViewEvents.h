// IViewEvents: the view's one-second timer, its posted interval-slot event and its updates.
#pragma once

#include <cstdint>

class IViewEvents {
public:
    virtual ~IViewEvents() = default;
    virtual void StartTimer() = 0;
    virtual void KillTimer() = 0;
    // Posts the interval-slot event for slot time t; delivered after the current handler.
    virtual void PostIntervalMeasure(int64_t t) = 0;
    // A measurement (single or interval slot) has returned.
    virtual void MeasurementEnded() {}
    // Interval measurement started or stopped: the commands' enabling may have changed.
    virtual void CommandStateChanged() {}
};
