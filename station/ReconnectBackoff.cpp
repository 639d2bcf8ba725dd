// The retry delays of set-up and reconnection.
#include "station/ReconnectBackoff.h"

#include <algorithm>

int64_t CReconnectBackoff::Next() {
    const int64_t wait = m_next;
    m_next = std::min(m_next * 2, kLongestSeconds);
    return wait;
}
