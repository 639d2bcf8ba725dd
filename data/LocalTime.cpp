// Local-time conversion and strftime for record time stamps.
#include "data/LocalTime.h"

#include <limits>

// Times before 1970 are refused as the instruments' C runtime refuses them: a record stamped so
// is damaged, and every text built from it stops the same way.
bool ToLocalTime(int64_t seconds, struct tm& out) {
    if (seconds < 0 || seconds > std::numeric_limits<time_t>::max()) {
        return false;
    }
    const time_t t = static_cast<time_t>(seconds);
    return localtime_r(&t, &out) != nullptr;
}

std::string FormatTime(const char* format, const struct tm& time) {
    char text[128];
    const size_t n = std::strftime(text, sizeof text, format, &time);
    return std::string(text, n);
}
