// Synthetic data sets for the drawing tests: a 300-1100 nm grid and smooth sunlit spectra.
#pragma once

#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>

#include "data/RadData.h"

namespace testspectra {

// 2023/11/14 22:13:20 UTC.
inline constexpr int32_t kMeasTime = 1700000000;

// Wavelengths rising evenly from first to last nm over the 2048 pixels.
inline void FillLinearGrid(CRadData& data, double first = 300.0, double last = 1100.0) {
    for (int i = 0; i < kPixelCount; ++i) {
        data.m_wavelength[i] = static_cast<float>(first + (last - first) * i / (kPixelCount - 1));
    }
}

// Adds a record whose spectrum m holds counts(m, i) above a zero dark level with a 1000 ms
// exposure, so with calibration 1 the irradiance of pixel i is counts(m, i) W/m2/um.
inline int AddRecord(CRadData& data, const std::function<int(int, int)>& counts,
                     unsigned validMask = 0xFu, int32_t measTime = kMeasTime,
                     float temperature = 25.5f) {
    RADDATA record;
    std::memset(&record, 0, sizeof record);
    record.measTime = measTime;
    for (int m = 0; m < kSpectraPerRecord; ++m) {
        SPECDATA& spec = record.spec[m];
        spec.valid = (validMask >> m) & 1u;
        spec.exposure = 1000;
        spec.temperature = temperature;
        for (int i = 0; i < kPixelCount; ++i) {
            spec.count[i] = static_cast<int16_t>(counts(m, i));
        }
    }
    return data.AddData(record);
}

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

// Calibration 1 everywhere and the even grid: counts read as irradiance.
inline void MakeSunDataSet(CRadData& data, unsigned validMask = 0xFu,
                           int32_t measTime = kMeasTime) {
    FillLinearGrid(data);
    for (float& c : data.m_calib) {
        c = 1.0f;
    }
    AddRecord(data, SunCounts, validMask, measTime);
}

}  // namespace testspectra
