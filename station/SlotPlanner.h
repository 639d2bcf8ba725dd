// CSlotPlanner: the interval grid's slot times, found ahead instead of by a one-second tick.
#pragma once

#include <cstdint>

class IClock;

class CSlotPlanner {
public:
    explicit CSlotPlanner(const IClock& clock) : m_clock(clock) {}

    // The schedule of the settings: window [start, end] in seconds from local midnight,
    // inclusive, and the period in seconds.
    void SetSchedule(int64_t start, int64_t end, int64_t period);

    // The first slot strictly after t (seconds since 1970), or -1 when the schedule has none:
    // the multiples of the period counted from local midnight that lie inside the window,
    // exactly the boundaries the window program's tick detects. A period of a day or more
    // never crosses a boundary there, so it has no slots here either.
    int64_t NextAfter(int64_t t) const;

private:
    int64_t SlotOfDay(const struct tm& day, int offset, int64_t secondOfDay) const;

    const IClock& m_clock;
    int64_t m_start = 0;
    int64_t m_end = 0;
    int64_t m_period = 0;
};
