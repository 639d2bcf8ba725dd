// CSlotOutcome: what one interval slot gave: its result, the failed positions and quantities.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "data/RadRecord.h"

class CRadData;

class CSlotOutcome {
public:
    enum class Result { Measured, PositionsFailed, NotMeasured, NoSun, BrokenOff, FileError };

    // What the slot at t left behind: the data set (its last record is the slot's when the
    // sequence measured), the lines the sequence appended to "log.txt" meanwhile, the interval
    // display's file status, and whether the slot was refused a file (another sensor type) or
    // broken off by a stop. The sun is asked for the site only when nothing was measured.
    static CSlotOutcome Of(CRadData& data, int64_t t, const std::string& newLogLines,
                           const std::string& fileStatus, bool fileRefused, bool broken,
                           double longitude, double latitude);
    // Positions (0..3) whose fourth attempt failed, from "log.txt" lines
    // "...,meas<i> error(4)".
    static std::vector<int> FailedPositions(const std::string& logLines);
    static const char* Name(Result result);

    // The log line of the slot: time, exposures, global PAR, photon flux, illuminance, UV-A and
    // temperature, or what went wrong.
    std::string Describe(const std::string& slotTime) const;
    bool Failed() const {
        return result == Result::PositionsFailed || result == Result::NotMeasured ||
               result == Result::FileError;
    }

    Result result = Result::NotMeasured;
    std::vector<int> failedPositions;
    int32_t exposures[kSpectraPerRecord] = {};
    double par = 0, photon = 0, lum = 0, uva = 0, temperature = 0;
};
