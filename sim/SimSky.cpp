// CSimSky: a clear sky for the simulated instruments.
#include "sim/SimSky.h"

#include <algorithm>
#include <cmath>

#include "measurement/BandAngle.h"
#include "measurement/Degrees.h"
#include "measurement/Sun.h"
#include "sim/SolarTable.h"

namespace {

constexpr double kAerosolDepth500 = 0.084;  // aerosol optical depth at 500 nm
constexpr double kAngstrom = 1.3;
constexpr double kMaxAirMass = 38.0;

double TableValue(const float* table, double nm) {
    const double x = std::clamp(nm - kSolarTableFirstNm, 0.0, kSolarTableSize - 1.0);
    const int i = std::min(static_cast<int>(x), kSolarTableSize - 2);
    const double f = x - i;
    return table[i] + (table[i + 1] - table[i]) * f;
}

double RayleighDepth(double um) {
    const double l2 = um * um;
    const double l4 = l2 * l2;
    return 0.008569 / l4 * (1.0 + 0.0113 / l2 + 0.00013 / l4);
}

}  // namespace

CSimSky::SunState CSimSky::Sun(int64_t utcSeconds, double longitude, double latitude) {
    SunState state;
    CSun sun;
    if (!sun.ComputeAt(utcSeconds, longitude, latitude)) {
        return state;
    }
    state.elevation = sun.m_elevation;
    state.azimuth = sun.m_azimuth;
    state.airMass = sun.m_airMass;
    state.bandAngle = BandAngle(sun.m_azimuth, RefractedElevation(sun.m_elevation));
    return state;
}

double CSimSky::Irradiance(double nm, const SunState& sun, double bandAngle) {
    const double outside = TableValue(kSolarExtraterrestrial, nm) * 1000.0;  // W/m2/um
    if (sun.airMass <= 0.0 || sun.elevation <= 0.0) {
        // Twilight: a faint sky fading out within six degrees below the horizon.
        return outside * 0.001 * std::clamp(1.0 + sun.elevation / 6.0, 0.0, 1.0);
    }
    const double um = nm / 1000.0;
    const double reference =
        std::clamp(TableValue(kSolarDirect, nm) * 1000.0 / outside, 1e-12, 1.0);
    const double total = -std::log(reference) / 1.5;
    const double rayleigh = RayleighDepth(um);
    const double aerosol = kAerosolDepth500 * std::pow(um / 0.5, -kAngstrom);
    const double absorption = std::max(0.0, total - rayleigh - aerosol);
    const double m = std::min(sun.airMass, kMaxAirMass);
    const double cosZenith = std::sin(sun.elevation * kRadPerDegree);

    const double direct = outside * std::exp(-total * m) * cosZenith;
    const double skyBase = outside * cosZenith * std::exp(-absorption * m);
    const double skyRayleigh = skyBase * 0.5 * (1.0 - std::exp(-rayleigh * m));
    const double skyAerosol = skyBase * 0.72 * (1.0 - std::exp(-aerosol * m));
    const double sky = skyRayleigh + skyAerosol;

    // The band hides a strip of sky wherever it stands above the horizon, more of the bright
    // aureole the closer it comes to the sun, and the sun itself within its shadow.
    const double offset = bandAngle - sun.bandAngle;
    const double strip = 0.07 * std::max(0.0, std::cos(bandAngle * kRadPerDegree)) * sky;
    const double aureole = 0.3 * std::exp(-(offset / 6.0) * (offset / 6.0)) * skyAerosol;
    const double hidden = std::min(0.9 * sky, strip + aureole);
    const bool shaded = std::fabs(offset) < kShadowHalfWidth;
    return sky - hidden + (shaded ? 0.0 : direct);
}
