// CSimRandom: a small seeded generator, so a simulation repeats exactly for a given seed.
#pragma once

#include <cstdint>

class CSimRandom {
public:
    explicit CSimRandom(uint64_t seed) : m_state(seed) {}

    uint64_t Next();
    // Uniform in [0, 1).
    double Uniform();
    // Standard normal deviate.
    double Normal();
    // Uniform integer in [low, high]; low when high < low.
    int Between(int low, int high);
    // True with probability p.
    bool Chance(double p) { return Uniform() < p; }

private:
    uint64_t m_state;
};
