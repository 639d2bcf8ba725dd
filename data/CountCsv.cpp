// Count CSV: times, exposures, temperatures and counts per second of the four spectra.
#include "data/CountCsv.h"

#include "data/CLocaleFormat.h"
#include "data/LocalTime.h"
#include "data/RadData.h"

namespace {

// Whole counts per second: the quotient is truncated before it is scaled to seconds.
double CountsPerSecond(const SPECDATA& spec, int i) {
    if (spec.exposure == 0) {
        return 0.0;
    }
    const int d = spec.count[i] - spec.dark[i];
    return static_cast<double>(d / spec.exposure) * 1000.0;
}

}  // namespace

bool BuildCountCsv(const CRadData& data, int index, std::string& out) {
    out.clear();
    const RADDATA* record = data.GetRecord(index);
    if (record == nullptr) {
        return false;
    }
    std::string times = "TIME,";
    std::string exposures = "Exposer Period[msec]";
    std::string temperatures = "Temp[degree C]";
    for (int m = 0; m < kSpectraPerRecord; ++m) {
        const SPECDATA& spec = record->spec[m];
        struct tm local {};
        if (!ToLocalTime(spec.time, local)) {
            return false;
        }
        times += FormatTime("%Y/%m/%d,%H:%M:%S", local) + (m < 3 ? "," : "\n");
        AppendFormatC(exposures, ",%ld", static_cast<long>(spec.exposure));
        AppendFormatC(temperatures, ",%.1f", static_cast<double>(spec.temperature));
    }
    out.reserve(256 + kPixelCount * 64);
    out += times + exposures + "\n" + temperatures + "\n";
    out += "Wavelength[nm],Count/sec[0],Count/sec[1],Count/sec[2],Count/sec[3]\n";
    for (int i = 0; i < kPixelCount; ++i) {
        AppendFormatC(out, "%.1f,", static_cast<double>(data.m_wavelength[i]));
        for (int m = 0; m < kSpectraPerRecord; ++m) {
            AppendFormatC(out, "%.4e%c", CountsPerSecond(record->spec[m], i), m < 3 ? ',' : '\n');
        }
    }
    return true;
}
