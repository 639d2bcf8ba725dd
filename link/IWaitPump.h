// IWaitPump: how the link waits for bytes from an instrument while the program stays alive.
#pragma once

#include "link/ISteadyClock.h"

class IWaitPump {
public:
    enum class Result {
        Ready,     // bytes may have arrived (or events were handled); look at the port again
        Deadline,  // the deadline has passed
        Quit,      // the program is quitting: the wait fails at once
        HangUp     // the descriptor reports a hang-up or an error: the device is gone
    };
    virtual ~IWaitPump() = default;
    // Sleeps until fd (ignored when negative) may be read, the deadline passes or a quit is
    // requested, handling the program's pending events meanwhile. Never spins.
    virtual Result Wait(int fd, ISteadyClock::TimePoint deadline) = 0;
    // Makes the current and every later wait end with Result::Quit. Safe from another thread
    // and from a signal handler.
    virtual void RequestQuit() = 0;
    virtual bool QuitRequested() const = 0;
};
