// PtyPeer: the far end of a pseudo-terminal, driven byte by byte by a test.
#pragma once

#include <string>

#include "data/NonCopyable.h"

class PtyPeer : CNonCopyable {
public:
    PtyPeer();
    ~PtyPeer();

    bool Ok() const { return m_master >= 0; }
    const std::string& SlavePath() const { return m_slavePath; }
    // Sends bytes to whoever has the terminal open.
    void Send(const std::string& bytes);
    // Everything received from the other side so far (drained without waiting).
    const std::string& Received();
    // Closes the master: the other side sees a hang-up.
    void HangUp();

private:
    int m_master = -1;
    std::string m_slavePath;
    std::string m_received;
};
