// Records built from the simulator's sky model: four band positions, dark level, exposure choice.
#include "tests/support/SimulatedDay.h"

#include <algorithm>
#include <cmath>

#include "sim/SimInstrument.h"
#include "sim/SimSky.h"

namespace {

constexpr int kExposures[] = {5000, 2000, 1000, 500, 200, 100, 50, 20, 10};
constexpr int kDark = 500;
constexpr double kHighestCount = 16000.0;  // a measurement keeps its peak below over-exposure
constexpr double kEdge = 10.0;

void FillSpectrum(SPECDATA& spec, const double* light, const float* calib, int32_t time) {
    double peak = 0.0;
    for (int i = 0; i < kPixelCount; ++i) {
        peak = std::max(peak, light[i] / calib[i]);
    }
    spec.exposure = kExposures[std::size(kExposures) - 1];
    for (int exposure : kExposures) {
        if (peak * exposure / 1000.0 + kDark < kHighestCount) {
            spec.exposure = exposure;
            break;
        }
    }
    spec.valid = 1;
    spec.time = time;
    spec.temperature = 24.5f;
    for (int i = 0; i < kPixelCount; ++i) {
        const double count = kDark + light[i] * spec.exposure / (1000.0 * calib[i]);
        spec.dark[i] = kDark;
        spec.count[i] = static_cast<int16_t>(std::lround(std::min(count, 32767.0)));
    }
}

}  // namespace

void FillSimulatedDay(CRadData& data, int64_t firstUtc, int records, int periodSeconds,
                      double longitude, double latitude) {
    CRadData::SetField(data.m_id, "KT-530");
    CRadData::SetField(data.m_serial, "53012345");
    CRadData::SetField(data.m_type, "KT-530VN");
    CRadData::SetField(data.m_fwVersion, "V1.07");
    CRadData::SetField(data.m_fwTime, "2023/04/18 10:22:31");
    for (int k = 0; k < kCoefCount; ++k) {
        CRadData::SetField(data.m_coef[k], CSimInstrument::Coefficient(k));
    }
    data.UpdateWavelengths();
    for (int i = 0; i < kPixelCount; ++i) {
        data.m_calib[i] = CSimInstrument::Calibration(i);
    }
    data.m_longitude = longitude;
    data.m_latitude = latitude;
    data.m_memo = "simulated clear day";
    double light[kPixelCount];
    for (int n = 0; n < records; ++n) {
        const int64_t t = firstUtc + int64_t{n} * periodSeconds;
        const CSimSky::SunState sun = CSimSky::Sun(t, longitude, latitude);
        const double angles[kSpectraPerRecord] = {CSimInstrument::kParkedAngle,
                                                  sun.bandAngle - kEdge, sun.bandAngle,
                                                  sun.bandAngle + kEdge};
        RADDATA r{};
        r.measTime = static_cast<int32_t>(t);
        for (int m = 0; m < kSpectraPerRecord; ++m) {
            for (int i = 0; i < kPixelCount; ++i) {
                light[i] = CSimSky::Irradiance(data.m_wavelength[i], sun, angles[m]);
            }
            FillSpectrum(r.spec[m], light, data.m_calib, r.measTime + 5 * m);
        }
        data.AddData(r);
    }
}

SIMOPTIONS FastSimulatorOptions(const std::string& folder, const FakeWallClock& clock,
                                double longitude, double latitude, uint64_t seed) {
    SIMOPTIONS options;
    options.fast = true;
    options.seed = seed;
    options.longitude = longitude;
    options.latitude = latitude;
    options.linkPath = folder + "ports/COM1";
    options.clock = [&clock] { return clock.now.load(); };
    return options;
}
