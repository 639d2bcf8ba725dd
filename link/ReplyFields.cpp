// CReplyFields: splits an accepted text reply into fields and converts field texts.
#include "link/ReplyFields.h"

#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "data/CLocaleFormat.h"

namespace {

bool IsSeparator(char c) {
    return c == ',' || c == '\r';
}

}  // namespace

int CReplyFields::Split(char* reply, char* (&field)[kReplyFieldSlots]) {
    for (auto& slot : field) {
        slot = nullptr;
    }
    int count = 0;
    char* p = reply;
    while (p != nullptr && *p != '\0' && count < kReplyFieldSlots - 1) {
        while (IsSeparator(*p)) {
            ++p;
        }
        if (*p == '\0') {
            break;
        }
        field[++count] = p;
        while (*p != '\0' && !IsSeparator(*p)) {
            ++p;
        }
        if (*p != '\0') {
            *p++ = '\0';
        }
    }
    return count;
}

bool CReplyFields::Accepted(char* const (&field)[kReplyFieldSlots], int count) {
    if (count < 1 || count >= kReplyFieldSlots || field[count] == nullptr) {
        return false;
    }
    return std::strcmp(field[count], "OK") == 0;
}

int CReplyFields::ToInt(const char* text) {
    if (text == nullptr) {
        return 0;
    }
    const long value = std::strtol(text, nullptr, 10);
    if (value > INT_MAX) {
        return INT_MAX;
    }
    if (value < INT_MIN) {
        return INT_MIN;
    }
    return static_cast<int>(value);
}

double CReplyFields::ToDouble(const char* text) {
    // The instruments write a decimal point whatever locale the program runs in.
    return text != nullptr ? ParseDoubleC(text) : 0.0;
}

float CReplyFields::ToFloat(const char* text) {
    const double value = ToDouble(text);
    constexpr double kMax = std::numeric_limits<float>::max();
    if (std::isnan(value)) {
        return std::numeric_limits<float>::quiet_NaN();
    }
    if (value > kMax) {
        return std::numeric_limits<float>::infinity();
    }
    if (value < -kMax) {
        return -std::numeric_limits<float>::infinity();
    }
    return static_cast<float>(value);
}
