// CArchiveWriter: builds the bytes of a settings archive (little-endian numbers, length-prefixed
// strings).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class CArchiveWriter {
public:
    void WriteU32(uint32_t value);
    void WriteI32(int32_t value);
    void WriteI64(int64_t value);
    void WriteDouble(double value);
    // Always the 8-bit form: the length prefix in its shortest form, then the bytes unchanged.
    void WriteString(std::string_view text);

    const std::string& Bytes() const { return m_bytes; }

private:
    void WriteLittleEndian(uint64_t value, int byteCount);
    void WriteStringLength(uint64_t length);

    std::string m_bytes;
};
