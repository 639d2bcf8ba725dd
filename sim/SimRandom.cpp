// CSimRandom: a small seeded generator (splitmix64), so a simulation repeats exactly.
#include "sim/SimRandom.h"

#include <cmath>

uint64_t CSimRandom::Next() {
    uint64_t z = (m_state += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

double CSimRandom::Uniform() {
    return static_cast<double>(Next() >> 11) * 0x1.0p-53;
}

double CSimRandom::Normal() {
    const double u1 = 1.0 - Uniform();  // (0, 1]: the logarithm stays finite
    const double u2 = Uniform();
    return std::sqrt(-2.0 * std::log(u1)) * std::cos(6.283185307179586 * u2);
}

int CSimRandom::Between(int low, int high) {
    if (high <= low) {
        return low;
    }
    const auto span = static_cast<uint64_t>(static_cast<int64_t>(high) - low + 1);
    return static_cast<int>(low + static_cast<int64_t>(Next() % span));
}
