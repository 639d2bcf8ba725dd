// CPortMap: port numbers to devices, published ports first, and the list of ports free now.
#include "data/FilePaths.h"
#include "link/PortMap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "link/Serial.h"
#include "link/Zeb530.h"
#include "tests/support/PtyPeer.h"
#include "tests/support/TestFiles.h"

namespace {

namespace fs = std::filesystem;

// A ports folder of its own for each test.
class PortsFolder : public ::testing::Test {
protected:
    void Publish(int n, const std::string& target) { fs::create_symlink(target, Entry(n)); }
    std::string Entry(int n) const { return m_dir.Path() + "COM" + std::to_string(n); }

    TempFolder m_dir;
};

TEST(PortMap, StandardNumbersNameSerialUsbAndAcmDevices) {
    const CPortMap map("/nonexistent/ports");
    std::string names;
    for (int n : {1, 32, 33, 64, 65, 96, 0, 97, -1}) {
        names += std::to_string(n) + "=" + map.DeviceName(n) + " ";
    }
    EXPECT_EQ(names,
              "1=/dev/ttyS0 32=/dev/ttyS31 33=/dev/ttyUSB0 64=/dev/ttyUSB31 65=/dev/ttyACM0 "
              "96=/dev/ttyACM31 0= 97= -1= ");
}

TEST(PortMap, DefaultFolderIsPortsBesideTheExecutable) {
    EXPECT_TRUE(fs::equivalent(ExecutableFolder(), HALVO_BIN_DIR));
    EXPECT_EQ(ExecutableFolder().back(), '/');
    EXPECT_EQ(CPortMap().PortsDir(), ExecutableFolder() + "ports/");
}

TEST_F(PortsFolder, PublishedEntryComesFirstEvenWhenDangling) {
    PtyPeer peer;
    Publish(1, peer.SlavePath());
    Publish(2, "/dev/halvo-vanished");
    const CPortMap map(m_dir.Path());
    EXPECT_EQ(map.DeviceName(1), Entry(1));
    EXPECT_EQ(map.DeviceName(2), Entry(2));
    EXPECT_EQ(map.DeviceName(3), "/dev/ttyS2");
    EXPECT_EQ(map.Label(1), "COM1 (" + peer.SlavePath() + ")");
}

TEST_F(PortsFolder, AvailablePortsListsOnlyDevicesThatOpenNow) {
    PtyPeer free3;
    PtyPeer busy100;
    PtyPeer free200;
    Publish(3, free3.SlavePath());
    Publish(5, "/dev/halvo-vanished");
    std::ofstream(Entry(7)) << "not a terminal";
    Publish(100, busy100.SlavePath());
    Publish(200, free200.SlavePath());
    std::ofstream(m_dir.Path() + "COMX") << "not a port name";
    CSerial holder;
    ASSERT_EQ(holder.Open(busy100.SlavePath().c_str(), 38400, 8, 0, 0, 4096, 4096), 1);

    const std::vector<int> ports = CPortMap(m_dir.Path()).AvailablePorts();
    std::vector<int> ours;  // the machine's own ports may be listed too
    std::copy_if(ports.begin(), ports.end(), std::back_inserter(ours),
                 [](int n) { return n == 3 || n == 5 || n == 7 || n == 100 || n == 200; });
    EXPECT_EQ(ours, (std::vector<int>{3, 200}));
    EXPECT_TRUE(std::is_sorted(ports.begin(), ports.end()));
}

TEST_F(PortsFolder, OpenPortUsesTheMappedDevice) {
    PtyPeer peer;
    Publish(4, peer.SlavePath());
    CZeb530 link;
    link.SetPortMap(CPortMap(m_dir.Path()));
    EXPECT_EQ(link.OpenPort(-1), 0);
    EXPECT_EQ(link.OpenPort(9999), 0);
    ASSERT_EQ(link.OpenPort(4), 1);
    EXPECT_TRUE(link.IsOpen());
    link.ClosePort();
    EXPECT_FALSE(link.IsOpen());
}

}  // namespace
