// Builders of data sets and records shared by the data tests.
#pragma once

#include <string>

#include "data/RadData.h"
#include "tests/support/TestFiles.h"

// A grid of 300 + 0.5·p nm (C0 = 300, C1 = 0.5).
void SetLinearGrid(CRadData& data);
// A record whose four spectra have count - dark = diff at every pixel and the given exposure.
RADDATA FlatRecord(int diff, int exposure, int32_t time = 1718938800);
// A data set with identity texts, a linear grid, a varied calibration and `records` records.
void FillSampleSet(CRadData& data, int records);
// The daily text file of the first `records` records of data, block after block.
std::string DailyTextOf(CRadData& data, int records);
