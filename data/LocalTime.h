// Conversion of 32-bit record time stamps to local calendar time and its formatting.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>

// Local calendar time of a time stamp; false for times before 1970 and times the C library
// cannot convert.
bool ToLocalTime(int64_t seconds, struct tm& out);
// strftime of a calendar time into a string.
std::string FormatTime(const char* format, const struct tm& time);
