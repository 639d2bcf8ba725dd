// EXPOSURE_TABLE: the exposure times in ms the automatic exposure chooses from, 0-terminated.
#pragma once

inline constexpr int EXPOSURE_TABLE[] = {10, 20, 50, 100, 200, 500, 1000, 2000, 5000, 0};
inline constexpr int kExposureCount = 9;
