// A day of records as the instruments would measure it under the simulator's clear sky.
#pragma once

#include <cstdint>

#include "data/RadData.h"

// The simulated instrument's identity, grid and calibration, the site, and `records` records
// from firstUtc on at periodSeconds, each at the exposure a measurement would choose.
void FillSimulatedDay(CRadData& data, int64_t firstUtc, int records, int periodSeconds,
                      double longitude, double latitude);
