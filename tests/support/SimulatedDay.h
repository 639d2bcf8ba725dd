// A day of records as the instruments would measure it under the simulator's clear sky.
#pragma once

#include <cstdint>
#include <string>

#include "data/DefaultSite.h"
#include "data/RadData.h"
#include "sim/SimOptions.h"
#include "tests/support/Fakes.h"

// The simulated instrument's identity, grid and calibration, the site, and `records` records
// from firstUtc on at periodSeconds, each at the exposure a measurement would choose.
void FillSimulatedDay(CRadData& data, int64_t firstUtc, int records, int periodSeconds,
                      double longitude, double latitude);

// A simulator that answers at once, published as COM1 of the port map in folder's "ports", with
// its sun at the fake clock's time (the clock must outlive the simulator).
SIMOPTIONS FastSimulatorOptions(const std::string& folder, const FakeWallClock& clock,
                                double longitude = kDefaultLongitude,
                                double latitude = kDefaultLatitude, uint64_t seed = 1);
