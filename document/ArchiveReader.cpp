// Bounded little-endian reads and the archive's string forms, including UTF-16 strings.
#include "document/ArchiveReader.h"

#include <bit>
#include <type_traits>

namespace {

void AppendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

bool IsHighSurrogate(uint32_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLowSurrogate(uint32_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// UTF-16LE to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string Utf16ToUtf8(const uint8_t* bytes, size_t unitCount) {
    std::string out;
    out.reserve(unitCount);
    auto unitAt = [bytes](size_t i) -> uint32_t {
        return static_cast<uint32_t>(bytes[2 * i]) | (static_cast<uint32_t>(bytes[2 * i + 1]) << 8);
    };
    for (size_t i = 0; i < unitCount; ++i) {
        const uint32_t unit = unitAt(i);
        if (IsHighSurrogate(unit) && i + 1 < unitCount && IsLowSurrogate(unitAt(i + 1))) {
            const uint32_t low = unitAt(++i);
            AppendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
        } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
            AppendUtf8(out, 0xFFFD);
        } else {
            AppendUtf8(out, unit);
        }
    }
    return out;
}

}  // namespace

bool CArchiveReader::Fail() {
    m_failed = true;
    return false;
}

bool CArchiveReader::ReadLittleEndian(uint64_t& value, int byteCount) {
    if (m_failed || Remaining() < static_cast<size_t>(byteCount)) {
        return Fail();
    }
    uint64_t v = 0;
    for (int i = 0; i < byteCount; ++i) {
        v |= static_cast<uint64_t>(m_data[m_pos + i]) << (8 * i);
    }
    m_pos += static_cast<size_t>(byteCount);
    value = v;
    return true;
}

// The little-endian bytes of a T: an integer's value, a double's bit pattern.
template <typename T>
bool CArchiveReader::ReadValue(T& value) {
    uint64_t v = 0;
    if (!ReadLittleEndian(v, static_cast<int>(sizeof(T)))) {
        return false;
    }
    if constexpr (std::is_same_v<T, double>) {
        value = std::bit_cast<double>(v);
    } else {
        value = static_cast<T>(v);
    }
    return true;
}

bool CArchiveReader::ReadU32(uint32_t& value) {
    return ReadValue(value);
}

bool CArchiveReader::ReadI32(int32_t& value) {
    return ReadValue(value);
}

bool CArchiveReader::ReadI64(int64_t& value) {
    return ReadValue(value);
}

bool CArchiveReader::ReadDouble(double& value) {
    return ReadValue(value);
}

// One length prefix after the wide marker: 1 byte, or 0xFF and 2 bytes, or 0xFF 0xFFFF and 4
// bytes, or 0xFF 0xFFFF 0xFFFFFFFF and 8 bytes: a field of all ones says a wider one follows.
bool CArchiveReader::ReadLength(uint64_t& length) {
    for (const int width : {1, 2, 4}) {
        uint64_t v = 0;
        if (!ReadLittleEndian(v, width)) {
            return false;
        }
        if (v < (uint64_t{1} << (8 * width)) - 1) {
            length = v;
            return true;
        }
    }
    return ReadLittleEndian(length, 8);
}

bool CArchiveReader::ReadString(std::string& text) {
    const size_t start = m_pos;
    bool wide = false;
    uint64_t length = 0;
    if (!ReadLength(length)) {
        return false;
    }
    // 0xFF followed by 0xFFFE: a wide string, whose own length prefix follows.
    if (length == 0xFFFE && m_pos == start + 3) {
        wide = true;
        if (!ReadLength(length)) {
            return false;
        }
    }
    const uint64_t unitSize = wide ? 2 : 1;
    // Checked before any allocation: a length beyond the end is a short file.
    if (length > Remaining() / unitSize) {
        return Fail();
    }
    const size_t count = static_cast<size_t>(length);
    const uint8_t* bytes = m_data + m_pos;
    text =
        wide ? Utf16ToUtf8(bytes, count) : std::string(reinterpret_cast<const char*>(bytes), count);
    m_pos += count * static_cast<size_t>(unitSize);
    return true;
}
