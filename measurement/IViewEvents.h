// IViewEvents: the view's one-second timer and its posted interval-slot event.
#pragma once

#include <cstdint>

class IViewEvents {
public:
    virtual ~IViewEvents() = default;
    virtual void StartTimer() = 0;
    virtual void KillTimer() = 0;
    // Posts the interval-slot event for slot time t; delivered after the current handler.
    virtual void PostIntervalMeasure(int64_t t) = 0;
};
