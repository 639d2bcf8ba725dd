// CArchiveReader: reads a settings archive from memory, never past its end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Every read returns false, leaving its output untouched, when the bytes it needs are not all
// there; after the first failure every further read fails too, so nothing is read out of step.
class CArchiveReader {
public:
    CArchiveReader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

    bool ReadU32(uint32_t& value);
    bool ReadI32(int32_t& value);
    bool ReadI64(int64_t& value);
    bool ReadDouble(double& value);
    // The 8-bit form as it stands, or the wide-character form converted from UTF-16 to UTF-8.
    bool ReadString(std::string& text);

    size_t Position() const { return m_pos; }
    bool Failed() const { return m_failed; }

private:
    bool ReadLittleEndian(uint64_t& value, int byteCount);
    template <typename T>
    bool ReadValue(T& value);
    bool ReadLength(uint64_t& length);
    bool Fail();
    size_t Remaining() const { return m_size - m_pos; }

    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
    bool m_failed = false;
};
