// The count export: one record as a CSV table of dark-corrected counts per second.
#pragma once

#include <string>

class CRadData;

// Builds the CSV text of record `index`; false (out emptied) when there is no such record or a
// spectrum's time cannot be converted to local time. A spectrum with exposure 0 (a position
// never measured) has no rate: its column holds 0.0000e+00.
bool BuildCountCsv(const CRadData& data, int index, std::string& out);
