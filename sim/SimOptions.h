// SIMOPTIONS, SIMFAULTS: how the simulated instruments behave and which faults they inject.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "data/DefaultSite.h"

// Faults on demand. Probabilities are per request, drawn from the seeded generator.
struct SIMFAULTS {
    double silence = 0.0;     // the request goes unanswered
    double err = 0.0;         // the answer is "ERR\r" instead of the real one
    double split = 0.0;       // the answer comes in pieces with pauses between them
    double garble = 0.0;      // one byte of the answer is corrupted
    double shortBlock = 0.0;  // a raw block stops short, without its tail
    double dropLine = 0.0;    // the line drops in the middle of the answer (see CSimulator)
    double slowBand = 0.0;    // seconds added to every band move and origin search
    bool spectroOff = false;  // the spectroradiometer is switched off: it never answers
    bool bandOff = false;     // the shadow-band unit is switched off
    // Commands, named by their word before the first comma ("GM", "#MP", "CALB"), that are
    // always answered "ERR\r" (refused) or never answered (ignored).
    std::vector<std::string> refused = {};
    std::vector<std::string> ignored = {};
};

struct SIMOPTIONS {
    bool fast = false;  // answer at once: no exposure or move times, no 38400-baud pacing
    uint64_t seed = 1;
    double longitude = kDefaultLongitude;  // site of the simulated sky
    double latitude = kDefaultLatitude;
    int motorSpeed = 1000;  // the band motor's speed and slew rate at power-on
    int slewRate = 100;
    std::string linkPath;  // symbolic link published to the pseudo-terminal (empty: none)
    std::string logPath;   // request log (empty: none)
    // Simulated time, seconds since 1970 UTC, for the sun; the system clock when empty.
    std::function<int64_t()> clock;
    SIMFAULTS faults;
    // Counts of each exposure in place of the simulated sky's, for in-process tests that need
    // exact readings: exposure (ms), shutter open, the 2048 counts to fill.
    std::function<void(int, bool, std::array<int16_t, 2048>&)> counts;
};
