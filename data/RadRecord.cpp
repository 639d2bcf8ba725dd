// Field-by-field little-endian encoding of a record, independent of the host's byte order.
#include "data/RadRecord.h"

#include <bit>
#include <cstring>

namespace {

void PutU32(unsigned char*& p, uint32_t v) {
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
    p[2] = static_cast<unsigned char>(v >> 16);
    p[3] = static_cast<unsigned char>(v >> 24);
    p += 4;
}

uint32_t GetU32(const unsigned char*& p) {
    const uint32_t v = static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
                       (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
    p += 4;
    return v;
}

void PutI32(unsigned char*& p, int32_t v) {
    PutU32(p, static_cast<uint32_t>(v));
}
int32_t GetI32(const unsigned char*& p) {
    return static_cast<int32_t>(GetU32(p));
}

void PutF32(unsigned char*& p, float v) {
    uint32_t bits;
    std::memcpy(&bits, &v, 4);
    PutU32(p, bits);
}

float GetF32(const unsigned char*& p) {
    const uint32_t bits = GetU32(p);
    float v;
    std::memcpy(&v, &bits, 4);
    return v;
}

void PutCounts(unsigned char*& p, const int16_t* counts) {
    for (int i = 0; i < kPixelCount; ++i) {
        const auto v = static_cast<uint16_t>(counts[i]);
        p[0] = static_cast<unsigned char>(v);
        p[1] = static_cast<unsigned char>(v >> 8);
        p += 2;
    }
}

void GetCounts(const unsigned char*& p, int16_t* counts) {
    for (int i = 0; i < kPixelCount; ++i) {
        counts[i] = static_cast<int16_t>(static_cast<uint16_t>(p[0] | (p[1] << 8)));
        p += 2;
    }
}

}  // namespace

void EncodeRecord(const RADDATA& record, unsigned char* out) {
    unsigned char* p = out;
    PutI32(p, record.measTime);
    for (const SPECDATA& s : record.spec) {
        PutI32(p, s.valid);
        PutI32(p, s.time);
        PutI32(p, s.exposure);
        PutI32(p, s.ssState);
        PutF32(p, s.temperature);
        for (float v : s.ssValue) {
            PutF32(p, v);
        }
        PutCounts(p, s.count);
        PutCounts(p, s.dark);
    }
}

void DecodeRecord(const unsigned char* in, RADDATA& record) {
    // The layout is pinned above to the file's byte for byte: on a little-endian host the image
    // is the record (day series read thousands of records a second this way).
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(&record, in, kRadDataBytes);
        return;
    }
    const unsigned char* p = in;
    record.measTime = GetI32(p);
    for (SPECDATA& s : record.spec) {
        s.valid = GetI32(p);
        s.time = GetI32(p);
        s.exposure = GetI32(p);
        s.ssState = GetI32(p);
        s.temperature = GetF32(p);
        for (float& v : s.ssValue) {
            v = GetF32(p);
        }
        GetCounts(p, s.count);
        GetCounts(p, s.dark);
    }
}
