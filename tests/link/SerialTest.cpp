// CSerial on a pseudo-terminal: exclusive open, raw line settings, non-blocking I/O, lost ports.
#include "link/Serial.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <termios.h>

#include <string>

#include "tests/support/PtyPeer.h"
#include "tests/support/TestFiles.h"

namespace {

bool WaitReadable(int fd) {
    pollfd pfd{fd, POLLIN, 0};
    return poll(&pfd, 1, 2000) > 0;
}

int OpenPort(CSerial& port, const std::string& name) {
    return port.Open(name.c_str(), 38400, 8, CSerial::kNoParity, CSerial::kOneStopBit, 4096, 4096);
}

class SerialOnPty : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_peer.Ok()); }
    PtyPeer m_peer;
    CSerial m_port;
};

// A port that failed to open, or was closed twice, holds nothing and does nothing.
TEST(Serial, OpenFailsWithNothingHeldForMissingOrNonTerminalDevices) {
    TempFolder folder;
    WriteFileBytes(folder.Path() + "plain", "not a terminal");
    for (const std::string& name :
         {std::string("/dev/halvo-no-such-port"), folder.Path() + "plain", std::string()}) {
        CSerial port;
        EXPECT_EQ(OpenPort(port, name), 0) << name;
        EXPECT_FALSE(port.IsOpen());
        EXPECT_EQ(port.Fd(), -1);
        EXPECT_EQ(port.InQueueSize(), 4096u);
        port.Close();
        port.Close();
        char byte = 0;
        EXPECT_EQ(port.Read(&byte, 1), 0);
        EXPECT_EQ(port.Write("x", 1), 0);
        EXPECT_EQ(port.InQueue(), 0);
        port.Purge();
    }
}

TEST_F(SerialOnPty, SecondOpenOfAPortInUseFails) {
    ASSERT_EQ(OpenPort(m_port, m_peer.SlavePath()), 1);
    CSerial second;
    EXPECT_EQ(OpenPort(second, m_peer.SlavePath()), 0);
    EXPECT_FALSE(CSerial::CanOpen(m_peer.SlavePath().c_str()));
    m_port.Close();
    EXPECT_TRUE(CSerial::CanOpen(m_peer.SlavePath().c_str()));
    {
        CSerial dropped;  // an object that goes away frees the port as Close does
        ASSERT_EQ(OpenPort(dropped, m_peer.SlavePath()), 1);
    }
    EXPECT_EQ(OpenPort(second, m_peer.SlavePath()), 1);
}

TEST_F(SerialOnPty, OpenSetsRaw38400EightNoneOneWithoutFlowControl) {
    ASSERT_EQ(OpenPort(m_port, m_peer.SlavePath()), 1);
    termios tio{};
    ASSERT_EQ(tcgetattr(m_port.Fd(), &tio), 0);
    EXPECT_EQ(cfgetospeed(&tio), static_cast<speed_t>(B38400));
    EXPECT_EQ(cfgetispeed(&tio), static_cast<speed_t>(B38400));
    EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(tio.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
    EXPECT_EQ(tio.c_iflag & (IXON | IXOFF | ICRNL | INLCR), 0u);
    EXPECT_EQ(tio.c_lflag & (ICANON | ECHO | ISIG), 0u);
    EXPECT_EQ(tio.c_oflag & OPOST, 0u);
}

TEST_F(SerialOnPty, OpenRefusesLineSettingsOutsideTheSupportedSet) {
    EXPECT_EQ(m_port.Open(m_peer.SlavePath().c_str(), 12345, 8, 0, 0, 64, 64), 0);
    EXPECT_EQ(m_port.Open(m_peer.SlavePath().c_str(), 38400, 9, 0, 0, 64, 64), 0);
    EXPECT_EQ(m_port.Open(m_peer.SlavePath().c_str(), 38400, 8, 3, 0, 64, 64), 0);
    EXPECT_EQ(m_port.Open(m_peer.SlavePath().c_str(), 38400, 8, 0, 1, 64, 64), 0);
    EXPECT_TRUE(CSerial::CanOpen(m_peer.SlavePath().c_str()));
    // The edges of the supported set open, each with its own line flags (a pseudo-terminal
    // keeps eight bits without parity checking but shows the stop bits and the odd parity).
    const struct {
        uint8_t size, parity, stop;
        tcflag_t flags;
    } accepted[] = {{5, CSerial::kEvenParity, CSerial::kTwoStopBits, CSTOPB},
                    {7, CSerial::kOddParity, CSerial::kOneStopBit, PARODD}};
    for (const auto& a : accepted) {
        ASSERT_EQ(m_port.Open(m_peer.SlavePath().c_str(), 38400, a.size, a.parity, a.stop, 64, 64),
                  1);
        termios tio{};
        ASSERT_EQ(tcgetattr(m_port.Fd(), &tio), 0);
        EXPECT_EQ(tio.c_cflag & (PARODD | CSTOPB), a.flags) << int(a.size);
        m_port.Close();
    }
}

TEST_F(SerialOnPty, ReadTakesOnlyWaitingBytesNeverBlocksAndPurgeDiscards) {
    ASSERT_EQ(OpenPort(m_port, m_peer.SlavePath()), 1);
    char buffer[100] = {};
    EXPECT_EQ(m_port.Read(buffer, sizeof buffer), 0);
    m_peer.Send("abcde");
    ASSERT_TRUE(WaitReadable(m_port.Fd()));
    EXPECT_EQ(m_port.InQueue(), 5);
    EXPECT_EQ(m_port.Read(buffer, 2), 2);
    EXPECT_EQ(std::string(buffer, 2), "ab");
    EXPECT_EQ(m_port.Read(buffer, sizeof buffer), 3);
    EXPECT_EQ(std::string(buffer, 3), "cde");
    EXPECT_EQ(m_port.Read(buffer, sizeof buffer), 0);
    m_peer.Send("stale");
    ASSERT_TRUE(WaitReadable(m_port.Fd()));
    m_port.Purge();
    EXPECT_EQ(m_port.InQueue(), 0);
}

TEST_F(SerialOnPty, WriteSendsEveryByte) {
    ASSERT_EQ(OpenPort(m_port, m_peer.SlavePath()), 1);
    std::string text;
    for (int i = 0; i < 3000; ++i) {
        text += static_cast<char>('a' + i % 26);
    }
    EXPECT_EQ(m_port.Write(text.data(), static_cast<int>(text.size())), 1);
    std::string got;
    PollUntil([&] { return (got = m_peer.Received()).size() >= text.size(); }, 10000);
    EXPECT_EQ(got, text);
}

// A hang-up is seen by the lost-port check and by a write: either closes the port.
TEST(Serial, HangUpClosesThePortWhenCheckedOrWrittenTo) {
    for (const bool byWrite : {false, true}) {
        PtyPeer peer;
        CSerial port;
        ASSERT_EQ(OpenPort(port, peer.SlavePath()), 1);
        EXPECT_FALSE(port.CheckLost());
        peer.HangUp();
        EXPECT_EQ(byWrite ? 0 : port.InQueue(), 0);  // a write must find the hang-up itself
        EXPECT_EQ(byWrite ? port.Write("ID\r", 3) : static_cast<int>(port.CheckLost()), !byWrite);
        EXPECT_FALSE(port.IsOpen()) << byWrite;
        EXPECT_EQ(port.Fd(), -1);
        EXPECT_EQ(port.Write("x", 1), 0);
    }
}

}  // namespace
