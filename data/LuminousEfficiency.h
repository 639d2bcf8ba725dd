// The CIE 1924 photopic luminous efficiency V(λ) at 1 nm from 380 to 780 nm.
#pragma once

inline constexpr int kLumFirstNm = 380;
inline constexpr int kLumLastNm = 780;
inline constexpr int kLumCount = kLumLastNm - kLumFirstNm + 1;  // 401

// V at a whole nanometre in [380, 780]; 0.0 outside. Values between the 5 nm table entries are
// linear interpolations of their neighbours.
double LuminousEfficiency(int nm);
