// PtyPeer: the far end of a pseudo-terminal, driven byte by byte by a test.
#include "tests/support/PtyPeer.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cstdlib>

PtyPeer::PtyPeer() {
    const int master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    char name[128] = {};
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0 ||
        ptsname_r(master, name, sizeof name) != 0) {
        if (master >= 0) {
            close(master);
        }
        return;
    }
    m_master = master;
    m_slavePath = name;
}

PtyPeer::~PtyPeer() {
    HangUp();
}

void PtyPeer::Send(const std::string& bytes) {
    size_t sent = 0;
    while (m_master >= 0 && sent < bytes.size()) {
        const ssize_t n = write(m_master, bytes.data() + sent, bytes.size() - sent);
        if (n > 0) {
            sent += static_cast<size_t>(n);
        } else {
            pollfd pfd{m_master, POLLOUT, 0};
            if (poll(&pfd, 1, 1000) <= 0) {
                return;
            }
        }
    }
}

const std::string& PtyPeer::Received() {
    char buffer[512];
    ssize_t n = 0;
    while (m_master >= 0 && (n = read(m_master, buffer, sizeof buffer)) > 0) {
        m_received.append(buffer, static_cast<size_t>(n));
    }
    return m_received;
}

void PtyPeer::HangUp() {
    if (m_master >= 0) {
        close(m_master);
        m_master = -1;
    }
}
