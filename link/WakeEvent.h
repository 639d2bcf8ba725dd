// CWakeEvent: an eventfd that ends a sleep in poll() when another thread or a signal handler
// signals it.
#pragma once

#include "data/NonCopyable.h"

class CWakeEvent : CNonCopyable {
public:
    CWakeEvent();  // non-blocking, closed on exec
    ~CWakeEvent();

    bool Ok() const { return m_fd >= 0; }
    // The descriptor to poll for POLLIN (-1 when it could not be made).
    int Fd() const { return m_fd; }
    // Makes the descriptor readable; safe in a signal handler.
    void Signal() const;
    // Reads the count so that the descriptor is no longer readable.
    void Drain() const;

private:
    int m_fd;
};
