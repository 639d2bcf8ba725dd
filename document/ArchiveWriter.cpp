// Little-endian number and length-prefixed string encoding of the settings archive.
#include "document/ArchiveWriter.h"

#include <bit>

void CArchiveWriter::WriteLittleEndian(uint64_t value, int byteCount) {
    for (int i = 0; i < byteCount; ++i) {
        m_bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xFFu));
    }
}

void CArchiveWriter::WriteU32(uint32_t value) {
    WriteLittleEndian(value, 4);
}

void CArchiveWriter::WriteI32(int32_t value) {
    WriteLittleEndian(static_cast<uint32_t>(value), 4);
}

void CArchiveWriter::WriteI64(int64_t value) {
    WriteLittleEndian(static_cast<uint64_t>(value), 8);
}

void CArchiveWriter::WriteDouble(double value) {
    WriteLittleEndian(std::bit_cast<uint64_t>(value), 8);
}

// 0xFFFE after the first 0xFF marks a wide string and 0xFFFF a longer prefix, so a 2-byte
// length stops at 0xFFFD and a 4-byte one at 0xFFFFFFFE.
void CArchiveWriter::WriteStringLength(uint64_t length) {
    if (length < 0xFF) {
        WriteLittleEndian(length, 1);
        return;
    }
    WriteLittleEndian(0xFF, 1);
    if (length < 0xFFFE) {
        WriteLittleEndian(length, 2);
        return;
    }
    WriteLittleEndian(0xFFFF, 2);
    if (length < 0xFFFFFFFF) {
        WriteLittleEndian(length, 4);
        return;
    }
    WriteLittleEndian(0xFFFFFFFF, 4);
    WriteLittleEndian(length, 8);
}

void CArchiveWriter::WriteString(std::string_view text) {
    WriteStringLength(text.size());
    m_bytes.append(text);
}
