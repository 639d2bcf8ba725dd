// Synthetic data sets for the drawing tests: a 300-1100 nm grid and smooth sunlit spectra.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>

#include "data/RadData.h"

namespace testspectra {

// 2023/11/14 22:13:20 UTC.
inline constexpr int32_t kMeasTime = 1700000000;

// A sun-like curve peaking near 500 nm with water and oxygen dips, scaled per band position:
// global, two side views and the shaded diffuse light.
inline int SunCounts(int m, int i) {
    static constexpr double kScale[kSpectraPerRecord] = {1.0, 0.75, 0.2, 0.6};
    const double wl = 300.0 + 800.0 * i / (kPixelCount - 1);
    const double x = (wl - 500.0) / 260.0;
    double e = 1500.0 * std::exp(-x * x) * (1.0 - std::exp(-(wl - 300.0) / 40.0));
    e *= 1.0 - 0.5 * std::exp(-std::pow((wl - 760.0) / 4.0, 2.0));
    e *= 1.0 - 0.6 * std::exp(-std::pow((wl - 940.0) / 20.0, 2.0));
    return static_cast<int>(e * kScale[m]);
}

// One record whose spectrum m holds SunCounts(m, i) above a zero dark level with a 1000 ms
// exposure: on the grid below with calibration 1, counts read as irradiance in W/m2/um.
inline RADDATA SunRecord(unsigned validMask = 0xFu, int32_t measTime = kMeasTime) {
    RADDATA record;
    std::memset(&record, 0, sizeof record);
    record.measTime = measTime;
    for (int m = 0; m < kSpectraPerRecord; ++m) {
        SPECDATA& spec = record.spec[m];
        spec.valid = (validMask >> m) & 1u;
        spec.exposure = 1000;
        spec.temperature = 25.5f;
        for (int i = 0; i < kPixelCount; ++i) {
            spec.count[i] = static_cast<int16_t>(SunCounts(m, i));
        }
    }
    return record;
}

// The even 300-1100 nm grid, calibration 1 and one SunRecord.
inline void MakeSunDataSet(CRadData& data, unsigned validMask = 0xFu,
                           int32_t measTime = kMeasTime) {
    for (int i = 0; i < kPixelCount; ++i) {
        data.m_wavelength[i] = static_cast<float>(300.0 + 800.0 * i / (kPixelCount - 1));
        data.m_calib[i] = 1.0f;
    }
    data.AddData(SunRecord(validMask, measTime));
}

}  // namespace testspectra
