// The system clock and the local-time conversions every clock shares.
#include "measurement/IClock.h"

#include "data/LocalTime.h"

bool IClock::LocalTime(int64_t t, struct tm& out) const {
    return ToLocalTime(t, out);
}

int64_t IClock::MakeLocalTime(struct tm& local) const {
    local.tm_isdst = -1;
    return static_cast<int64_t>(mktime(&local));
}

int64_t IClock::LocalSecondOfDay(int64_t t) const {
    struct tm local {};
    if (!LocalTime(t, local)) {
        return 0;
    }
    return local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec;
}

int64_t CSystemClock::Now() const {
    return static_cast<int64_t>(time(nullptr));
}
