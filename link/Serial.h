// CSerial: one serial port over termios: exclusive open, raw line settings, non-blocking I/O.
#pragma once

#include <termios.h>

#include <cstdint>

#include "data/NonCopyable.h"

class CSerial : CNonCopyable {
public:
    // Line-setting codes as the link passes them (parity 0 none, 1 odd, 2 even; stop bits 0
    // one, 2 two).
    static constexpr uint8_t kNoParity = 0;
    static constexpr uint8_t kOddParity = 1;
    static constexpr uint8_t kEvenParity = 2;
    static constexpr uint8_t kOneStopBit = 0;
    static constexpr uint8_t kTwoStopBits = 2;

    CSerial() = default;
    virtual ~CSerial();

    // Opens the device exclusively (no second opener, even as root), raw, without flow control,
    // and raises DTR. Returns 1 on success; 0 leaves nothing held.
    int Open(const char* name, uint32_t baudRate, uint8_t byteSize, uint8_t parity,
             uint8_t stopBits, uint32_t inQueueSize, uint32_t outQueueSize);
    // Lowers DTR, discards both queues and releases the device; nothing when closed.
    void Close();
    // Reads at most max bytes, and only those already waiting; never blocks.
    int Read(void* buffer, int max);
    // Writes all n bytes (waiting while the driver is full). 1 on success, 0 on failure.
    int Write(const void* buffer, int n);
    // Bytes waiting in the receive queue.
    int InQueue();
    // Discards whatever waits in both directions.
    void Purge();
    // Closes the port when its device has hung up or failed; true when that happened.
    bool CheckLost();

    bool IsOpen() const { return m_isOpen != 0; }
    int Fd() const { return m_fd; }
    uint32_t InQueueSize() const { return m_inQueueSize; }

    // Whether the device could be opened now exactly as Open would take it (exclusively),
    // without changing its line settings.
    static bool CanOpen(const char* name);

protected:
    // The device vanished (hang-up, EIO): the port is given up and reports itself closed.
    void PortLost();

    int m_isOpen = 0;
    int m_fd = -1;
    uint32_t m_inQueueSize = 0;
};
