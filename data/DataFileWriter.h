// Adding one record to a data file, shared by the save commands and the interval slots.
#pragma once

#include <string>

#include "data/FilePaths.h"
#include "data/RadData.h"

// Adds record to the data file at path under header (identity, grid, calibration, memo, site):
// appended in place when the header and calibration on disk are exactly header's, else the
// file's records (none when it is missing) are read and the whole file is rewritten atomically
// with header and the record added. Either way the bytes are those of the rewrite. Temporary
// files that killed writers left beside the file are cleared. False when the file could not be
// written (it is then as it was, or ends in its last whole record).
bool AddRecordToDataFile(const CRadData& header, const std::string& path, const RADDATA& record);

// Records of two sets can share a file only when their sensor types match.
bool SameSensorType(const CRadData& a, const CRadData& b);
