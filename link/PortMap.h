// CPortMap: which device a port number names, and which numbered ports can be opened now.
#pragma once

#include <string>
#include <vector>

class CPortMap {
public:
    static constexpr int kMaxPortNumber = 9999;

    // Ports published in the "ports" folder beside the executable.
    CPortMap();
    // Ports published in the given folder (tests, and programs that keep them elsewhere).
    explicit CPortMap(std::string portsDir);

    // The device of port n: <ports>/COM<n> when that entry exists (normally a symbolic link),
    // otherwise 1..32 /dev/ttyS0..31, 33..64 /dev/ttyUSB0..31, 65..96 /dev/ttyACM0..31;
    // empty for any other number.
    std::string DeviceName(int n) const;
    // Mapped numbers, ascending, whose device can be opened now as the link opens it.
    std::vector<int> AvailablePorts() const;
    // "COM<n> (<device>)", the device shown with symbolic links resolved.
    std::string Label(int n) const;

    const std::string& PortsDir() const { return m_portsDir; }
    static std::string StandardDevice(int n);

private:
    std::string PublishedEntry(int n) const;
    std::vector<int> PublishedNumbers() const;

    std::string m_portsDir;  // ends with '/' unless empty
};
