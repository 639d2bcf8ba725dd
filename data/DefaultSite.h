// The site a fresh settings file and the simulated sky start from: 135° E, 35° N.
#pragma once

inline constexpr double kDefaultLongitude = 135.0;  // degrees east
inline constexpr double kDefaultLatitude = 35.0;    // degrees north
