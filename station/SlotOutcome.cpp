// The result of one slot, read from the data set and the acquisition log it left.
#include "station/SlotOutcome.h"

#include <cstdio>

#include "data/CLocaleFormat.h"
#include "data/RadData.h"
#include "measurement/BandAngle.h"
#include "measurement/Sun.h"

namespace {

constexpr int kLastAttempt = 4;

bool SunBelowHorizon(int64_t t, double longitude, double latitude) {
    CSun sun;
    return sun.ComputeAt(t, longitude, latitude) && RefractedElevation(sun.m_elevation) < 0;
}

}  // namespace

std::vector<int> CSlotOutcome::FailedPositions(const std::string& logLines) {
    std::vector<int> positions;
    for (size_t at = logLines.find(",meas"); at != std::string::npos;
         at = logLines.find(",meas", at + 1)) {
        int position = -1;
        int attempt = 0;
        if (std::sscanf(logLines.c_str() + at, ",meas%d error(%d)", &position, &attempt) == 2 &&
            attempt == kLastAttempt) {
            positions.push_back(position);
        }
    }
    return positions;
}

CSlotOutcome CSlotOutcome::Of(CRadData& data, int64_t t, const std::string& newLogLines,
                              const std::string& fileStatus, bool fileRefused, bool broken,
                              double longitude, double latitude) {
    CSlotOutcome o;
    const int last = data.GetSize() - 1;
    const RADDATA* record = last >= 0 ? data.GetRecord(last) : nullptr;
    if (record == nullptr || record->measTime != static_cast<int32_t>(static_cast<uint32_t>(t))) {
        if (broken) {
            o.result = Result::BrokenOff;
        } else if (SunBelowHorizon(t, longitude, latitude)) {
            o.result = Result::NoSun;
        }
        return o;
    }
    o.failedPositions = FailedPositions(newLogLines);
    for (int i = 0; i < kSpectraPerRecord; ++i) {
        o.exposures[i] = record->spec[i].exposure;
    }
    o.temperature = record->spec[0].temperature;
    data.Select(last, 0);
    o.par = data.GetPAR();
    o.photon = data.GetPhoton();
    o.lum = data.GetLum();
    o.uva = data.GetUVA();
    if (fileRefused || !fileStatus.empty()) {
        o.result = Result::FileError;
    } else {
        o.result = o.failedPositions.empty() ? Result::Measured : Result::PositionsFailed;
    }
    return o;
}

const char* CSlotOutcome::Name(Result result) {
    // In the order of Result.
    static constexpr const char* kNames[] = {"measured", "positions-failed", "not-measured",
                                             "no-sun",   "broken-off",       "file-error"};
    return kNames[static_cast<int>(result)];
}

std::string CSlotOutcome::Describe(const std::string& slotTime) const {
    switch (result) {
        case Result::NotMeasured:
            return "slot " + slotTime + " not measured: the shadow band did not answer";
        case Result::NoSun:
            return "slot " + slotTime + " not measured: the sun is below the horizon";
        case Result::BrokenOff:
            return "slot " + slotTime + " broken off by the stop; no record written";
        default:
            break;
    }
    std::string line = "slot " + slotTime + " " + Name(result) +
                       FormatC(
                           ": exposures %d/%d/%d/%d ms, PAR %.2f W/m2, photon %.2f umol/m2/s, "
                           "illuminance %.0f lx, UV-A %.3f W/m2, temperature %.1f C",
                           exposures[0], exposures[1], exposures[2], exposures[3], par, photon, lum,
                           uva, temperature);
    for (int position : failedPositions) {
        line += FormatC("; position %d failed after 4 attempts", position);
    }
    if (result == Result::FileError) {
        line += "; the data or text file was not written";
    }
    return line;
}
