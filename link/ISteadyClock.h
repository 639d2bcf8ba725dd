// ISteadyClock: the monotonic clock the link's waits count their deadlines on.
#pragma once

#include <chrono>

class ISteadyClock {
public:
    using TimePoint = std::chrono::steady_clock::time_point;
    virtual ~ISteadyClock() = default;
    virtual TimePoint Now() const = 0;
};
