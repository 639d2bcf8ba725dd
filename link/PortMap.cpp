// CPortMap: which device a port number names, and which numbered ports can be opened now.
#include "link/PortMap.h"

#include "data/FilePaths.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <utility>

#include "link/Serial.h"

namespace {

constexpr int kFamilySize = 32;
constexpr const char* kFamilies[] = {"/dev/ttyS", "/dev/ttyUSB", "/dev/ttyACM"};
constexpr int kStandardCount = kFamilySize * 3;

// The n of a "COM<n>" entry name; 0 when the name is anything else.
int PublishedNumber(const std::string& name) {
    if (name.size() < 4 || name.size() > 7 || name.compare(0, 3, "COM") != 0 || name[3] == '0') {
        return 0;
    }
    int n = 0;
    for (size_t i = 3; i < name.size(); ++i) {
        if (name[i] < '0' || name[i] > '9') {
            return 0;
        }
        n = n * 10 + (name[i] - '0');
    }
    return n <= CPortMap::kMaxPortNumber ? n : 0;
}

}  // namespace

CPortMap::CPortMap() : CPortMap(ExecutableFolder() + "ports") {}

CPortMap::CPortMap(std::string portsDir) : m_portsDir(std::move(portsDir)) {
    if (!m_portsDir.empty() && m_portsDir.back() != '/') {
        m_portsDir += '/';
    }
}

std::string CPortMap::StandardDevice(int n) {
    if (n < 1 || n > kStandardCount) {
        return {};
    }
    const int family = (n - 1) / kFamilySize;
    return kFamilies[family] + std::to_string((n - 1) % kFamilySize);
}

std::string CPortMap::PublishedEntry(int n) const {
    if (m_portsDir.empty() || n < 1 || n > kMaxPortNumber) {
        return {};
    }
    std::string entry = m_portsDir + "COM" + std::to_string(n);
    struct stat st {};
    // A dangling link still names the port: its open fails, as for a vanished device.
    return lstat(entry.c_str(), &st) == 0 ? entry : std::string();
}

std::string CPortMap::DeviceName(int n) const {
    std::string entry = PublishedEntry(n);
    return entry.empty() ? StandardDevice(n) : entry;
}

std::vector<int> CPortMap::PublishedNumbers() const {
    std::vector<int> numbers;
    std::error_code ec;
    if (m_portsDir.empty()) {
        return numbers;
    }
    for (const auto& entry : std::filesystem::directory_iterator(m_portsDir, ec)) {
        const int n = PublishedNumber(entry.path().filename().string());
        if (n > 0) {
            numbers.push_back(n);
        }
    }
    return numbers;
}

std::vector<int> CPortMap::AvailablePorts() const {
    std::vector<int> numbers = PublishedNumbers();
    for (int n = 1; n <= kStandardCount; ++n) {
        numbers.push_back(n);
    }
    std::sort(numbers.begin(), numbers.end());
    numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
    std::vector<int> available;
    for (const int n : numbers) {
        if (CSerial::CanOpen(DeviceName(n).c_str())) {
            available.push_back(n);
        }
    }
    return available;
}

std::string CPortMap::Label(int n) const {
    std::string device = DeviceName(n);
    std::error_code ec;
    const auto resolved = std::filesystem::canonical(device, ec);
    if (!ec) {
        device = resolved.string();
    }
    return "COM" + std::to_string(n) + " (" + device + ")";
}
