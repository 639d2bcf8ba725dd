// CReconnectBackoff: how long an unattended program waits before it tries the instruments again.
#pragma once

#include <cstdint>

class CReconnectBackoff {
public:
    static constexpr int64_t kFirstSeconds = 30;
    static constexpr int64_t kLongestSeconds = 300;

    // The wait before the next try: 30 s after the first failure, doubling up to 5 minutes.
    int64_t Next();
    // The instruments answered: the next failure starts again at 30 s.
    void Reset() { m_next = kFirstSeconds; }

private:
    int64_t m_next = kFirstSeconds;
};
