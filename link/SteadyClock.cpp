// CSteadyClock: the process's monotonic clock.
#include "link/SteadyClock.h"

const CSteadyClock& CSteadyClock::Instance() {
    static const CSteadyClock clock;
    return clock;
}
