// The reference solar spectra the simulated sky starts from, at 1 nm from 280 to 1120 nm.
#pragma once

inline constexpr int kSolarTableFirstNm = 280;
inline constexpr int kSolarTableSize = 841;  // 280..1120 nm

// Irradiance above the atmosphere, W/m2/nm.
extern const float kSolarExtraterrestrial[kSolarTableSize];
// Direct normal irradiance through the reference atmosphere at air mass 1.5, W/m2/nm.
extern const float kSolarDirect[kSolarTableSize];
