// IStationSleeper: how the station sleeps between slots until a time, a signal or a lost port.
#pragma once

#include <cstdint>

class IStationSleeper {
public:
    enum class Wake {
        Time,    // the time was reached (or the system clock was set: look at it again)
        Signal,  // a signal was handled; the station's flags say what it asked for
        HangUp   // the port's device hung up or failed
    };
    virtual ~IStationSleeper() = default;
    // Sleeps until wall-clock time t (seconds since 1970). portFd < 0: no port to watch.
    virtual Wake SleepUntil(int64_t t, int portFd) = 0;
};
