// V(λ) built from the 5 nm CIE table compiled into the program.
#include "data/LuminousEfficiency.h"

#include <array>

namespace {

constexpr std::array<double, 81> kV5nm = {
    0.000039, 0.000064, 0.000120, 0.000217, 0.000396, 0.000640, 0.001210, 0.002180, 0.004000,
    0.007300, 0.011600, 0.016840, 0.023000, 0.029800, 0.038000, 0.048000, 0.060000, 0.073900,
    0.090980, 0.112600, 0.139020, 0.169300, 0.208020, 0.258600, 0.323000, 0.407300, 0.503000,
    0.608200, 0.710000, 0.793200, 0.862000, 0.914850, 0.954000, 0.980300, 0.994950, 1.000000,
    0.995000, 0.978600, 0.952000, 0.915400, 0.870000, 0.816300, 0.757000, 0.694900, 0.631000,
    0.566800, 0.503000, 0.441200, 0.381000, 0.321000, 0.265000, 0.217000, 0.175000, 0.138200,
    0.107000, 0.081600, 0.061000, 0.044580, 0.032000, 0.023200, 0.017000, 0.011920, 0.008210,
    0.005723, 0.004102, 0.002929, 0.002091, 0.001484, 0.001047, 0.000740, 0.000520, 0.000361,
    0.000249, 0.000172, 0.000120, 0.000085, 0.000060, 0.000042, 0.000030, 0.000021, 0.000015};

constexpr std::array<double, kLumCount> BuildOneNanometreTable() {
    std::array<double, kLumCount> table{};
    for (int i = 0; i < kLumCount; ++i) {
        const int step = i / 5;
        const int within = i % 5;
        if (within == 0) {
            table[i] = kV5nm[step];
        } else {
            const double low = kV5nm[step];
            const double high = kV5nm[step + 1];
            table[i] = low + (high - low) * within / 5.0;
        }
    }
    return table;
}

constexpr std::array<double, kLumCount> kV1nm = BuildOneNanometreTable();

}  // namespace

double LuminousEfficiency(int nm) {
    if (nm < kLumFirstNm || nm > kLumLastNm) {
        return 0.0;
    }
    return kV1nm[nm - kLumFirstNm];
}
