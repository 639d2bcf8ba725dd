// Slot times of the interval grid from local calendar time.
#include "station/SlotPlanner.h"

#include <algorithm>
#include <ctime>

#include "measurement/IClock.h"

namespace {

constexpr int64_t kLastSecondOfDay = 86399;
// Today, tomorrow, and one more day for a window that a daylight-saving change emptied.
constexpr int kDaysAhead = 3;

}  // namespace

void CSlotPlanner::SetSchedule(int64_t start, int64_t end, int64_t period) {
    m_start = start;
    m_end = end;
    m_period = period;
}

int64_t CSlotPlanner::SlotOfDay(const struct tm& day, int offset, int64_t secondOfDay) const {
    struct tm slot = day;
    slot.tm_mday += offset;
    slot.tm_hour = static_cast<int>(secondOfDay / 3600);
    slot.tm_min = static_cast<int>(secondOfDay / 60 % 60);
    slot.tm_sec = static_cast<int>(secondOfDay % 60);
    return m_clock.MakeLocalTime(slot);
}

int64_t CSlotPlanner::NextAfter(int64_t t) const {
    const int64_t p = m_period;
    struct tm day {};
    if (p <= 0 || p > kLastSecondOfDay || !m_clock.LocalTime(t, day)) {
        return -1;
    }
    const int64_t second = day.tm_hour * 3600 + day.tm_min * 60 + day.tm_sec;
    const int64_t last = std::min(m_end, kLastSecondOfDay);
    for (int offset = 0; offset < kDaysAhead; ++offset) {
        const int64_t first = std::max(offset == 0 ? second + 1 : 0, m_start);
        // A repeated hour at the end of daylight saving maps a time of day to the earlier of
        // its two instants; only a slot after t counts.
        for (int64_t k = (first + p - 1) / p; k * p <= last; ++k) {
            const int64_t slot = SlotOfDay(day, offset, k * p);
            if (slot > t) {
                return slot;
            }
        }
    }
    return -1;
}
