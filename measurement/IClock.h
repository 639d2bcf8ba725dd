// IClock: wall-clock time and its local-time conversions, replaceable by a fake in tests.
#pragma once

#include <cstdint>
#include <ctime>

class IClock {
public:
    virtual ~IClock() = default;
    // Seconds since 1970-01-01 UTC.
    virtual int64_t Now() const = 0;
    // Local calendar time of t; false when it cannot be converted.
    virtual bool LocalTime(int64_t t, struct tm& out) const;
    // Seconds since 1970 of a local calendar time (daylight saving decided by the system);
    // -1 when it cannot be represented.
    virtual int64_t MakeLocalTime(struct tm& local) const;
    // Local time of day of t in seconds (hour·3600 + minute·60 + second); 0 when t cannot be
    // converted.
    int64_t LocalSecondOfDay(int64_t t) const;
};

// The system's clock.
class CSystemClock : public IClock {
public:
    int64_t Now() const override;
};
