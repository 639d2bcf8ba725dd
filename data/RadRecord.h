// One measurement record (RADDATA) and its four spectra (SPECDATA), laid out as in the data file.
#pragma once

#include <cstddef>
#include <cstdint>

inline constexpr int kPixelCount = 2048;
inline constexpr int kSpectraPerRecord = 4;

// One spectrum of one band position: status, exposure and the light and dark counts.
struct SPECDATA {
    int32_t valid;
    int32_t time;
    int32_t exposure;
    int32_t ssState;
    float temperature;
    float ssValue[3];
    int16_t count[kPixelCount];
    int16_t dark[kPixelCount];
};

// One measurement: the time it was started with and the spectra of the four band positions.
struct RADDATA {
    int32_t measTime;
    SPECDATA spec[kSpectraPerRecord];
};

inline constexpr std::size_t kSpecDataBytes = 8224;
inline constexpr std::size_t kRadDataBytes = 32900;

static_assert(sizeof(SPECDATA) == kSpecDataBytes);
static_assert(sizeof(RADDATA) == kRadDataBytes);
static_assert(offsetof(SPECDATA, valid) == 0);
static_assert(offsetof(SPECDATA, time) == 4);
static_assert(offsetof(SPECDATA, exposure) == 8);
static_assert(offsetof(SPECDATA, ssState) == 12);
static_assert(offsetof(SPECDATA, temperature) == 16);
static_assert(offsetof(SPECDATA, ssValue) == 20);
static_assert(offsetof(SPECDATA, count) == 32);
static_assert(offsetof(SPECDATA, dark) == 4128);
static_assert(offsetof(RADDATA, measTime) == 0);
static_assert(offsetof(RADDATA, spec) == 4);

// Byte image of a record as the data file holds it (little-endian, field by field).
void EncodeRecord(const RADDATA& record, unsigned char* out);
void DecodeRecord(const unsigned char* in, RADDATA& record);
