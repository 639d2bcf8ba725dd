// ScopedTimeZone: sets TZ for a test and restores the previous value afterwards.
#pragma once

#include <cstdlib>
#include <ctime>
#include <string>

#include "data/NonCopyable.h"

class ScopedTimeZone : CNonCopyable {
public:
    explicit ScopedTimeZone(const char* zone) {
        const char* previous = std::getenv("TZ");
        m_hadPrevious = previous != nullptr;
        m_previous = previous != nullptr ? previous : "";
        setenv("TZ", zone, 1);
        tzset();
    }
    ~ScopedTimeZone() {
        if (m_hadPrevious) {
            setenv("TZ", m_previous.c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }

private:
    std::string m_previous;
    bool m_hadPrevious = false;
};
