// Time helpers of the headless measurement tests.
#include "tests/support/Fakes.h"

#include <cstdlib>
#include <ctime>

int64_t LocalStamp(int year, int month, int day, int hour, int minute, int second) {
    struct tm local {};
    local.tm_year = year - 1900;
    local.tm_mon = month - 1;
    local.tm_mday = day;
    local.tm_hour = hour;
    local.tm_min = minute;
    local.tm_sec = second;
    local.tm_isdst = -1;
    return static_cast<int64_t>(mktime(&local));
}
