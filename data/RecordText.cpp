// CRadData::GetRecordText: one record as the text block of the daily text file.
#include "data/CLocaleFormat.h"
#include "data/LocalTime.h"
#include "data/RadData.h"
#include "measurement/Sun.h"

bool CRadData::GetRecordText(std::string& out) {
    out.clear();
    const RADDATA* record = GetRecord(m_curRecord);
    const SPECDATA* selected = SelectedSpectrum();
    struct tm local {};
    CSun sun;
    if (record == nullptr || selected == nullptr || !ToLocalTime(record->measTime, local) ||
        !sun.ComputeAt(record->measTime, m_longitude, m_latitude)) {
        return false;
    }
    out.reserve(7 * 64 + kPixelCount * 56);
    out += FormatTime("YYYYMMDDHHMMSS %Y %m %d %H %M %S\n", local);
    AppendFormatC(out, "Exposer Period[msec] %ld\n", static_cast<long>(selected->exposure));
    AppendFormatC(out, "Azimuth %.3f\n", sun.m_azimuth);
    AppendFormatC(out, "Elevation %.3f\n", sun.m_elevation);
    AppendFormatC(out, "Airmass %.4f\n", sun.m_airMass);
    AppendFormatC(out, "Temp.[deg.C] %.1f\n", static_cast<double>(selected->temperature));
    out += "Wlen Irr1 Irr2 Irr3 Irr4\n";
    const int recordIndex = m_curRecord;
    for (int i = 0; i < kPixelCount; ++i) {
        const double wl = m_wavelength[i];
        AppendFormatC(out, "%.1f ", wl);
        for (int m = 0; m < kSpectraPerRecord; ++m) {
            Select(recordIndex, m);
            AppendFormatC(out, "%.4e%c", GetIrradiance(wl), m < 3 ? ' ' : '\n');
        }
    }
    return true;
}
