// CSteadyClock: the process's monotonic clock (std::chrono::steady_clock).
#pragma once

#include "link/ISteadyClock.h"

class CSteadyClock : public ISteadyClock {
public:
    TimePoint Now() const override { return std::chrono::steady_clock::now(); }
    // One shared instance for objects that are given no clock of their own.
    static const CSteadyClock& Instance();
};
