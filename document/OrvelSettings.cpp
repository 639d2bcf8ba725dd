// The settings' defaults, the "Orvel.cfg" field order, and the repair of values out of range.
#include "document/OrvelSettings.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <utility>
#include <vector>

#include "data/AtomicFile.h"
#include "data/DefaultSite.h"
#include "document/ArchiveReader.h"
#include "document/ArchiveWriter.h"

namespace {

// The whole file, or its first kSettingsFileReadLimit bytes; false when it cannot be read.
// Only a regular file is read, so a FIFO or a device at the path never blocks the start.
bool ReadSettingsFile(const std::string& path, std::vector<uint8_t>& bytes) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return false;
    }
    bytes.assign(
        std::min(static_cast<size_t>(std::max<off_t>(st.st_size, 0)), kSettingsFileReadLimit), 0);
    size_t got = 0;
    while (got < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;  // an error or a file that shrank: what was read is a short file
        }
        got += static_cast<size_t>(n);
    }
    bytes.resize(got);
    ::close(fd);
    return true;
}

// A symbolic link at the settings path is followed, so the rename replaces the file it names
// rather than the link.
std::string StoreTarget(const std::string& path) {
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (resolved == nullptr) {
        return path;
    }
    std::string target(resolved);
    std::free(resolved);
    return target;
}

double ClampedOrDefault(double value, double low, double high, double fallback) {
    if (std::isnan(value)) {
        return fallback;
    }
    return std::clamp(value, low, high);
}

void ReplaceIfNotFinite(double& value, double fallback) {
    if (!std::isfinite(value)) {
        value = fallback;
    }
}

}  // namespace

COrvelSettings::COrvelSettings(std::string exeDir) : m_exeDir(std::move(exeDir)) {
    if (!m_exeDir.empty() && m_exeDir.back() != '/') {
        m_exeDir.push_back('/');
    }
    m_cfgPath = m_exeDir + kSettingsFileName;
    ResetToDefaults();
}

void COrvelSettings::ResetToDefaults() {
    m_comPort = -1;
    m_longitude = kDefaultLongitude;
    m_latitude = kDefaultLatitude;
    m_edgeAngle = 10.0;
    m_graphTitle = "Graph Title";
    m_dataMemo = "Data Memo";
    m_intervalStart = 21600;
    m_intervalEnd = 68400;
    m_intervalPeriod = 600;
    m_exposureIndex = 0;
    m_dataFolder = m_exeDir;
    m_intervalFile = m_exeDir + "NoName.wsx";
    m_saveFile = m_exeDir + "NoName.wsx";
    m_csvFile = m_exeDir + "NoName.csv";
    m_autoFileName = 1;
    m_autoStart = 0;
    m_graphParam = GRAPHPARAM{};
    m_graphParam.xMin = m_availMin;
    m_graphParam.xMax = m_availMax;
}

int COrvelSettings::LoadSaveConfig(const std::string& path, int mode) {
    if (mode == kLoad) {
        return LoadConfig(path);
    }
    if (mode == kStore) {
        StoreConfig(path);
        return 1;
    }
    return 0;
}

int COrvelSettings::LoadConfig(const std::string& path) {
    std::vector<uint8_t> bytes;
    if (!ReadSettingsFile(path, bytes)) {
        ResetToDefaults();
        return 0;
    }
    return LoadFromBytes(bytes.data(), bytes.size());
}

// A store that cannot create its temporary file or rename it leaves the old file as it was;
// the settings in memory stay in force for this run.
void COrvelSettings::StoreConfig(const std::string& path) const {
    WriteFileAtomically(StoreTarget(path), StoreToBytes());
}

int COrvelSettings::LoadFromBytes(const uint8_t* data, size_t size) {
    ResetToDefaults();
    CArchiveReader in(data, size);
    uint32_t format = 0;
    if (!in.ReadU32(format) || format != kSettingsFormat) {
        return 0;
    }
    const bool complete = ReadFields(in);
    ClampLoadedValues();
    return complete ? 1 : 0;
}

std::string COrvelSettings::StoreToBytes() const {
    CArchiveWriter out;
    out.WriteU32(kSettingsFormat);
    WriteFields(out);
    return out.Bytes();
}

// Fields 2 to 29 straight into the members; a field cut off by the end of the file keeps its
// default, and so does every field after it.
bool COrvelSettings::ReadFields(CArchiveReader& in) {
    return in.ReadI32(m_comPort) && in.ReadDouble(m_longitude) && in.ReadDouble(m_latitude) &&
           in.ReadDouble(m_edgeAngle) && in.ReadString(m_graphTitle) && in.ReadString(m_dataMemo) &&
           in.ReadI64(m_intervalStart) && in.ReadI64(m_intervalEnd) &&
           in.ReadI64(m_intervalPeriod) && in.ReadI32(m_exposureIndex) &&
           in.ReadString(m_dataFolder) && in.ReadString(m_intervalFile) &&
           in.ReadString(m_saveFile) && in.ReadString(m_csvFile) && in.ReadI32(m_autoFileName) &&
           in.ReadI32(m_autoStart) && ReadGraphParam(in);
}

bool COrvelSettings::ReadGraphParam(CArchiveReader& in) {
    GRAPHPARAM& g = m_graphParam;
    return in.ReadDouble(g.xMin) && in.ReadDouble(g.yMaxLin) && in.ReadDouble(g.xMax) &&
           in.ReadDouble(g.yMinLin) && in.ReadDouble(g.yMaxLog) && in.ReadDouble(g.yMinLog) &&
           in.ReadI32(g.logScale) && in.ReadI32(g.autoScale) && in.ReadI32(g.marker) &&
           in.ReadI32(g.grid) && in.ReadI32(g.unit) && in.ReadU32(g.color0);
}

void COrvelSettings::WriteFields(CArchiveWriter& out) const {
    out.WriteI32(m_comPort);
    out.WriteDouble(m_longitude);
    out.WriteDouble(m_latitude);
    out.WriteDouble(m_edgeAngle);
    out.WriteString(m_graphTitle);
    out.WriteString(m_dataMemo);
    out.WriteI64(m_intervalStart);
    out.WriteI64(m_intervalEnd);
    out.WriteI64(m_intervalPeriod);
    out.WriteI32(m_exposureIndex);
    out.WriteString(m_dataFolder);
    out.WriteString(m_intervalFile);
    out.WriteString(m_saveFile);
    out.WriteString(m_csvFile);
    out.WriteI32(m_autoFileName);
    out.WriteI32(m_autoStart);
    const GRAPHPARAM& g = m_graphParam;
    for (double v : {g.xMin, g.yMaxLin, g.xMax, g.yMinLin, g.yMaxLog, g.yMinLog}) {
        out.WriteDouble(v);
    }
    for (int32_t v : {g.logScale, g.autoScale, g.marker, g.grid, g.unit}) {
        out.WriteI32(v);
    }
    out.WriteU32(g.color0);
}

// Values only a damaged or hand-edited file can hold are moved to the nearest value the
// dialogs can produce, so no later division, table index or conversion meets them. A number
// that is not a number at all takes its default instead.
void COrvelSettings::ClampLoadedValues() {
    m_exposureIndex = std::clamp(m_exposureIndex, 0, kExposureIndexMax);
    m_intervalStart = std::clamp<int64_t>(m_intervalStart, 0, kSecondsPerDay - 1);
    m_intervalEnd = std::clamp<int64_t>(m_intervalEnd, 0, kSecondsPerDay - 1);
    m_intervalPeriod = std::clamp(m_intervalPeriod, kIntervalPeriodMin, kIntervalPeriodMax);
    m_longitude = ClampedOrDefault(m_longitude, -180.0, 180.0, kDefaultLongitude);
    m_latitude = ClampedOrDefault(m_latitude, -90.0, 90.0, kDefaultLatitude);
    m_edgeAngle = ClampedOrDefault(m_edgeAngle, 0.0, 90.0, 10.0);
    const GRAPHPARAM defaults{};
    GRAPHPARAM& g = m_graphParam;
    ReplaceIfNotFinite(g.xMin, m_availMin);
    ReplaceIfNotFinite(g.yMaxLin, defaults.yMaxLin);
    ReplaceIfNotFinite(g.xMax, m_availMax);
    ReplaceIfNotFinite(g.yMinLin, defaults.yMinLin);
    ReplaceIfNotFinite(g.yMaxLog, defaults.yMaxLog);
    ReplaceIfNotFinite(g.yMinLog, defaults.yMinLog);
}
