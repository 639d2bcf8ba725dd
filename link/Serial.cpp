// CSerial: one serial port over termios: exclusive open, raw line settings, non-blocking I/O.
#include "link/Serial.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>

namespace {

constexpr int kWriteStallMs = 2000;  // a driver that takes no byte for this long has failed

bool BaudCode(uint32_t baud, speed_t& code) {
    static constexpr struct {
        uint32_t baud;
        speed_t code;
    } kRates[] = {{1200, B1200},   {2400, B2400},     {4800, B4800},
                  {9600, B9600},   {19200, B19200},   {38400, B38400},
                  {57600, B57600}, {115200, B115200}, {230400, B230400}};
    for (const auto& rate : kRates) {
        if (rate.baud == baud) {
            code = rate.code;
            return true;
        }
    }
    return false;
}

bool ApplyLineSettings(termios& tio, uint32_t baud, uint8_t byteSize, uint8_t parity,
                       uint8_t stopBits) {
    speed_t speed = B0;
    if (!BaudCode(baud, speed) || byteSize < 5 || byteSize > 8 || parity > 2 ||
        (stopBits != CSerial::kOneStopBit && stopBits != CSerial::kTwoStopBits)) {
        return false;
    }
    cfmakeraw(&tio);
    static constexpr tcflag_t kSizes[] = {CS5, CS6, CS7, CS8};
    tio.c_cflag &= ~(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
    tio.c_cflag |= kSizes[byteSize - 5] | CLOCAL | CREAD;
    if (parity != CSerial::kNoParity) {
        tio.c_cflag |= PARENB | (parity == CSerial::kOddParity ? PARODD : 0);
    }
    if (stopBits == CSerial::kTwoStopBits) {
        tio.c_cflag |= CSTOPB;
    }
    tio.c_iflag &= ~(IXON | IXOFF | IXANY);
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    return cfsetispeed(&tio, speed) == 0 && cfsetospeed(&tio, speed) == 0;
}

// Opens and locks the device; -1 when it is missing, in use or not a terminal.
int OpenExclusive(const char* name) {
    if (name == nullptr || name[0] == '\0') {
        return -1;
    }
    const int fd = open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return -1;
    }
    termios probe{};
    // flock first: a device some other Halvo holds is left exactly as it is.
    if (tcgetattr(fd, &probe) != 0 || flock(fd, LOCK_EX | LOCK_NB) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

}  // namespace

CSerial::~CSerial() {
    Close();
}

int CSerial::Open(const char* name, uint32_t baudRate, uint8_t byteSize, uint8_t parity,
                  uint8_t stopBits, uint32_t inQueueSize,
                  uint32_t /*outQueueSize: the driver sizes it*/) {
    m_inQueueSize = inQueueSize;
    Close();
    const int fd = OpenExclusive(name);
    if (fd < 0) {
        return 0;
    }
    // TIOCEXCL keeps other programs out (root is exempt, which the flock covers).
    ioctl(fd, TIOCEXCL);
    tcflush(fd, TCIOFLUSH);
    termios tio{};
    if (tcgetattr(fd, &tio) != 0 || !ApplyLineSettings(tio, baudRate, byteSize, parity, stopBits) ||
        tcsetattr(fd, TCSANOW, &tio) != 0) {
        ioctl(fd, TIOCNXCL);
        close(fd);
        return 0;
    }
    // A device without modem lines (a pseudo-terminal) refuses this; that is fine.
    const int dtr = TIOCM_DTR;
    ioctl(fd, TIOCMBIS, &dtr);
    m_fd = fd;
    m_isOpen = 1;
    return 1;
}

void CSerial::Close() {
    if (m_isOpen == 0) {
        return;
    }
    const int dtr = TIOCM_DTR;
    ioctl(m_fd, TIOCMBIC, &dtr);
    tcflush(m_fd, TCIOFLUSH);
    // The exclusive flag belongs to the device, not to this descriptor: clear it for the next.
    ioctl(m_fd, TIOCNXCL);
    close(m_fd);
    m_fd = -1;
    m_isOpen = 0;
}

void CSerial::PortLost() {
    if (m_isOpen == 0) {
        return;
    }
    close(m_fd);
    m_fd = -1;
    m_isOpen = 0;
}

int CSerial::InQueue() {
    if (m_isOpen == 0) {
        return 0;
    }
    int waiting = 0;
    if (ioctl(m_fd, FIONREAD, &waiting) != 0) {
        if (errno == EIO || errno == ENXIO || errno == EBADF) {
            PortLost();
        }
        return 0;
    }
    return waiting > 0 ? waiting : 0;
}

int CSerial::Read(void* buffer, int max) {
    if (buffer == nullptr || max <= 0) {
        return 0;
    }
    const int waiting = InQueue();
    const int n = waiting < max ? waiting : max;
    if (n == 0) {
        return 0;
    }
    const ssize_t got = read(m_fd, buffer, static_cast<size_t>(n));
    if (got > 0) {
        return static_cast<int>(got);
    }
    if (got == 0) {
        CheckLost();  // a hung-up terminal reads as end of file
    } else if (errno != EAGAIN && errno != EINTR) {
        PortLost();
    }
    return 0;
}

int CSerial::Write(const void* buffer, int n) {
    if (m_isOpen == 0 || buffer == nullptr || n < 0) {
        return 0;
    }
    const auto* bytes = static_cast<const unsigned char*>(buffer);
    int sent = 0;
    while (sent < n) {
        const ssize_t put = write(m_fd, bytes + sent, static_cast<size_t>(n - sent));
        if (put > 0) {
            sent += static_cast<int>(put);
            continue;
        }
        if (put < 0 && errno == EINTR) {
            continue;
        }
        if (put < 0 && errno != EAGAIN) {
            PortLost();
            return 0;
        }
        pollfd pfd{m_fd, POLLOUT, 0};
        const int ready = poll(&pfd, 1, kWriteStallMs);
        if (ready <= 0 || (pfd.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) {
            if (ready != 0) {
                PortLost();
            }
            return 0;
        }
    }
    return 1;
}

void CSerial::Purge() {
    if (m_isOpen != 0) {
        tcflush(m_fd, TCIOFLUSH);
    }
}

bool CSerial::CheckLost() {
    if (m_isOpen == 0) {
        return true;
    }
    pollfd pfd{m_fd, POLLIN, 0};
    if (poll(&pfd, 1, 0) > 0 && (pfd.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) {
        PortLost();
        return true;
    }
    return false;
}

bool CSerial::CanOpen(const char* name) {
    const int fd = OpenExclusive(name);
    if (fd < 0) {
        return false;
    }
    close(fd);
    return true;
}
