// CReplyFramer: collects a text reply byte by byte until "OK\r" or "ERR\r" has arrived.
#pragma once

#include <cstddef>

class CReplyFramer {
public:
    enum class State {
        Incomplete,  // no terminator yet
        Complete,    // "OK\r" or "ERR\r" arrived; the buffer holds the reply
        Overflow     // a terminator arrived after more text than the buffer holds: rejected
    };

    // Stores into buffer (size bytes, at least 1), keeping it NUL-terminated after each byte.
    CReplyFramer(char* buffer, size_t size);

    // Takes the next byte from the line. Once the reply has ended further bytes are ignored.
    State Push(char c);
    State GetState() const { return m_state; }
    // Bytes stored in the buffer (at most size - 1).
    size_t Length() const { return m_length; }

private:
    bool EndsWith(const char* text, size_t n) const;

    char* m_buffer;
    size_t m_size;
    size_t m_length = 0;
    bool m_overflowed = false;
    char m_tail[4] = {};  // the last four bytes received, stored or not
    size_t m_received = 0;
    State m_state = State::Incomplete;
};
