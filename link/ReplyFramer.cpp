// CReplyFramer: collects a text reply byte by byte until "OK\r" or "ERR\r" has arrived.
#include "link/ReplyFramer.h"

#include <cstring>

CReplyFramer::CReplyFramer(char* buffer, size_t size) : m_buffer(buffer), m_size(size) {}

bool CReplyFramer::EndsWith(const char* text, size_t n) const {
    if (m_received < n) {
        return false;
    }
    return std::memcmp(m_tail + sizeof m_tail - n, text, n) == 0;
}

CReplyFramer::State CReplyFramer::Push(char c) {
    if (m_state != State::Incomplete) {
        return m_state;
    }
    std::memmove(m_tail, m_tail + 1, sizeof m_tail - 1);
    m_tail[sizeof m_tail - 1] = c;
    ++m_received;
    if (m_length + 1 < m_size) {
        m_buffer[m_length++] = c;
        m_buffer[m_length] = '\0';
    } else {
        // Too long for the buffer: the rest is read up to the terminator, so the next reply
        // starts clean, and the whole reply is refused.
        m_overflowed = true;
    }
    if (EndsWith("OK\r", 3) || EndsWith("ERR\r", 4)) {
        m_state = m_overflowed ? State::Overflow : State::Complete;
    }
    return m_state;
}
