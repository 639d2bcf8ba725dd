// CRadData's ".wsx" data file: the text header, the calibration block and the raw records.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <string_view>

#include "data/AtomicFile.h"
#include "data/CLocaleFormat.h"
#include "data/RadData.h"

namespace {

constexpr char kMagic[] = "ZNRT,01.00\n";
constexpr size_t kMagicSize = 11;
constexpr size_t kCalibBytes = kPixelCount * 4;
constexpr size_t kLineBuffer = 256;

std::string FieldText(const char (&field)[kTextFieldSize]) {
    return std::string(field, strnlen(field, kTextFieldSize));
}

void AppendCalibration(std::string& out, const float* calib) {
    const size_t start = out.size();
    out.resize(start + kCalibBytes);
    auto* p = reinterpret_cast<unsigned char*>(out.data() + start);
    for (int i = 0; i < kPixelCount; ++i) {
        uint32_t bits;
        std::memcpy(&bits, &calib[i], 4);
        for (int b = 0; b < 4; ++b) {
            *p++ = static_cast<unsigned char>(bits >> (8 * b));
        }
    }
}

void AppendRecord(std::string& out, const RADDATA& record) {
    const size_t start = out.size();
    out.resize(start + kRadDataBytes);
    EncodeRecord(record, reinterpret_cast<unsigned char*>(out.data() + start));
}

// Overwrites the first n bytes of the calibration table's little-endian image; factors whose
// bytes are not all given keep the bytes they had.
void ReadCalibration(float* calib, const unsigned char* bytes, size_t n) {
    std::string image;
    AppendCalibration(image, calib);
    std::memcpy(image.data(), bytes, n);
    const auto* p = reinterpret_cast<const unsigned char*>(image.data());
    for (int i = 0; i < kPixelCount; ++i, p += 4) {
        const uint32_t bits = static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
                              (static_cast<uint32_t>(p[2]) << 16) |
                              (static_cast<uint32_t>(p[3]) << 24);
        std::memcpy(&calib[i], &bits, 4);
    }
}

bool ReadWholeFile(int fd, std::string& out) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        return false;
    }
    out.clear();
    if (st.st_size > 0) {
        out.reserve(static_cast<size_t>(st.st_size));
    }
    char chunk[1 << 16];
    for (;;) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return n == 0;
        }
        out.append(chunk, static_cast<size_t>(n));
    }
}

// Reads at most `limit` bytes from the start of the file.
bool ReadFilePrefix(int fd, size_t limit, std::string& out) {
    out.resize(limit);
    size_t got = 0;
    while (got < limit) {
        const ssize_t n = ::read(fd, out.data() + got, limit - got);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            return false;
        }
        if (n == 0) {
            break;
        }
        got += static_cast<size_t>(n);
    }
    out.resize(got);
    return true;
}

// One header line as the reader sees it: at most 255 bytes up to and including a line feed,
// taken as a C string (a NUL byte ends it).
std::string_view NextHeaderLine(std::string_view data, size_t& pos, char (&buffer)[kLineBuffer]) {
    std::memset(buffer, 0, sizeof buffer);
    size_t n = 0;
    while (pos < data.size() && n < kLineBuffer - 1) {
        const char c = data[pos++];
        buffer[n++] = c;
        if (c == '\n') {
            break;
        }
    }
    return std::string_view(buffer, strnlen(buffer, kLineBuffer));
}

// A line's value ends at its line feed; a carriage return before it is dropped so that files
// edited on other systems read the same.
std::string_view ValueOf(std::string_view rest) {
    while (!rest.empty() && rest.front() == '\n') {
        rest.remove_prefix(1);
    }
    const size_t lf = rest.find('\n');
    if (lf != std::string_view::npos) {
        rest = rest.substr(0, lf);
    }
    if (!rest.empty() && rest.back() == '\r') {
        rest.remove_suffix(1);
    }
    return rest;
}

bool IsHeaderEnd(std::string_view line) {
    return line == "HEADER_END\n" || line == "HEADER_END\r\n";
}

// A decimal number at the start of value; false when there is none.
bool ParseNumber(std::string_view value, double& out) {
    const std::string text(value);
    const char* end = nullptr;
    const double v = ParseDoubleC(text.c_str(), &end);
    if (end == text.c_str()) {
        return false;
    }
    out = v;
    return true;
}

}  // namespace

void CRadData::GetHeaderText(std::string& out) const {
    out = kMagic;
    out += "MEMO," + m_memo + "\n";
    out += "ID," + FieldText(m_id) + "\n";
    out += "SN," + FieldText(m_serial) + "\n";
    out += "ST," + FieldText(m_type) + "\n";
    out += "FV," + FieldText(m_fwVersion) + "\n";
    out += "FT," + FieldText(m_fwTime) + "\n";
    for (int k = 0; k < kCoefCount; ++k) {
        out += FormatC("C%d,", k) + FieldText(m_coef[k]) + "\n";
    }
    out += FormatC("LON,%.5f\n", m_longitude);
    out += FormatC("LAT,%.5f\n", m_latitude);
    out += "HEADER_END\n";
}

std::string CRadData::FileImagePrefix() const {
    std::string bytes;
    GetHeaderText(bytes);
    AppendCalibration(bytes, m_calib);
    return bytes;
}

int CRadData::SaveFile(const char* path) const {
    std::string bytes = FileImagePrefix();
    bytes.reserve(bytes.size() + m_records.size() * kRadDataBytes);
    for (const auto& record : m_records) {
        AppendRecord(bytes, *record);
    }
    return WriteFileAtomically(path, bytes) ? 1 : 0;
}

int CRadData::AppendRecordInPlace(const char* path, const RADDATA& record) const {
    const std::string prefix = FileImagePrefix();
    const int fd = ::open(path, O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        return 0;
    }
    std::string existing;
    struct stat st {};
    bool ok =
        ReadFilePrefix(fd, prefix.size(), existing) && existing == prefix && ::fstat(fd, &st) == 0;
    if (ok) {
        const size_t records = (static_cast<size_t>(st.st_size) - prefix.size()) / kRadDataBytes;
        const off_t end = static_cast<off_t>(prefix.size() + records * kRadDataBytes);
        std::string bytes;
        AppendRecord(bytes, record);
        ok = (end == st.st_size || ::ftruncate(fd, end) == 0) && ::lseek(fd, end, SEEK_SET) == end;
        ok = ok && WriteAllBytes(fd, bytes) && ::fsync(fd) == 0;
        if (!ok && ::ftruncate(fd, end) == 0) {
            ::fsync(fd);
        }
    }
    ok = (::close(fd) == 0) && ok;
    return ok ? 1 : 0;
}

int CRadData::LoadFile(const char* path) {
    return Load(path, true);
}

int CRadData::LoadHeader(const char* path) {
    return Load(path, false);
}

int CRadData::Load(const char* path, bool withRecords) {
    struct stat st {};
    if (::stat(path, &st) != 0) {
        return -2;
    }
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return -2;
    }
    std::string data;
    const bool read = withRecords ? ReadWholeFile(fd, data) : ReadFilePrefix(fd, 1 << 20, data);
    struct stat opened {};
    const bool sized = ::fstat(fd, &opened) == 0;
    ::close(fd);
    if (!read || !sized) {
        return -2;
    }
    if (data.size() < kMagicSize || data.compare(0, 5, "ZNRT,") != 0) {
        return -1;
    }
    m_version = ParseDoubleC(std::string(data, 5, kMagicSize - 5).c_str());

    size_t pos = kMagicSize;
    bool headerEnded = false;
    char buffer[kLineBuffer];
    while (pos < data.size()) {
        const std::string_view line = NextHeaderLine(data, pos, buffer);
        if (IsHeaderEnd(line)) {
            headerEnded = true;
            break;
        }
        const size_t comma = line.find(',');
        if (comma != std::string_view::npos) {
            StoreHeaderValue(line.substr(0, comma), ValueOf(line.substr(comma + 1)));
        }
    }
    UpdateWavelengths();
    m_recordOffset = static_cast<long long>(data.size());
    if (!headerEnded) {
        return GetSize();
    }
    const size_t calibBytes = std::min(kCalibBytes, data.size() - pos);
    ReadCalibration(m_calib, reinterpret_cast<const unsigned char*>(data.data() + pos), calibBytes);
    pos += calibBytes;
    m_recordOffset = static_cast<long long>(pos);
    const size_t fileSize = static_cast<size_t>(opened.st_size);
    if (!withRecords) {
        return pos <= fileSize ? static_cast<int>((fileSize - pos) / kRadDataBytes) : 0;
    }
    while (data.size() - pos >= kRadDataBytes) {
        auto record = std::make_unique<RADDATA>();
        DecodeRecord(reinterpret_cast<const unsigned char*>(data.data() + pos), *record);
        m_records.push_back(std::move(record));
        pos += kRadDataBytes;
    }
    m_trailingBytes = static_cast<long long>(data.size() - pos);
    return GetSize();
}

void CRadData::StoreHeaderValue(std::string_view key, std::string_view value) {
    const std::string text(value);
    char(*field)[kTextFieldSize] = nullptr;
    if (key == "MEMO") {
        m_memo = text;
    } else if (key == "ID") {
        field = &m_id;
    } else if (key == "SN") {
        field = &m_serial;
    } else if (key == "ST") {
        field = &m_type;
    } else if (key == "FV") {
        field = &m_fwVersion;
    } else if (key == "FT") {
        field = &m_fwTime;
    } else if (key.size() == 2 && key[0] == 'C' && key[1] >= '0' && key[1] <= '5') {
        field = &m_coef[key[1] - '0'];
    } else if (key == "LON" || key == "LAT") {
        double v = 0.0;
        if (ParseNumber(value, v)) {
            (key == "LON" ? m_longitude : m_latitude) = v;
        }
    }
    if (field != nullptr) {
        SetField(*field, text);
    }
}
