// Direct and diffuse components, the sun and the quality flags of one record.
#include "data/RecordComponents.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "data/RadData.h"
#include "measurement/BandAngle.h"
#include "measurement/Sun.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kRad = 0.017453292519943295;

bool Measured(const SPECDATA& spec) {
    return spec.valid != 0 && spec.exposure != 0;
}

// A count at the limit, or a pixel the measurement cleared because its count passed it. One
// pass without early exits: nearly every spectrum is scanned to its end anyway.
bool OverExposed(const SPECDATA& spec) {
    int found = 0;
    for (int i = 0; i < kPixelCount; ++i) {
        found |= static_cast<int>(spec.count[i] >= CRecordComponents::kOverExposedCount) |
                 static_cast<int>((spec.count[i] | spec.dark[i]) == 0);
    }
    return found != 0;
}

// B = (E1 + E3) / 2 - E2; an undefined position makes it NaN.
double Blocked(double e1, double e2, double e3) {
    return (e1 + e3) / 2.0 - e2;
}

}  // namespace

void CRecordComponents::Compute(const CRadData& header, const CQuantityWeights& weights,
                                const RADDATA& record, bool withSpectra) {
    ComputeSun(header, record.measTime);
    const int first = withSpectra ? 0 : weights.First();
    const int last = withSpectra ? kPixelCount - 1 : weights.Last();
    for (int m = 0; m < kSpectraPerRecord; ++m) {
        const SPECDATA& spec = record.spec[m];
        m_measured[m] = Measured(spec);
        double* pixels = m_positionSpectrum[m];
        if (m_measured[m]) {
            header.PixelValues(spec, first, last, pixels);
        } else {
            std::fill(pixels + first, pixels + last + 1, kNaN);
        }
    }
    ComputeSpectra(first, last);
    ComputeComponents(weights);
    ComputeFlags(record);
}

void CRecordComponents::ComputeSun(const CRadData& header, int32_t measTime) {
    CSun sun;
    if (!sun.ComputeAt(measTime, header.m_longitude, header.m_latitude)) {
        m_elevation = kNaN;
        m_azimuth = kNaN;
        return;
    }
    m_elevation = RefractedElevation(sun.m_elevation);
    m_azimuth = sun.m_azimuth;
}

// 1 / cos(zenith) with the zenith from the refracted elevation; NaN with the sun too low for
// the beam's projection to mean anything.
double CRecordComponents::DirectNormalFactor() const {
    if (!(m_elevation >= kLowSunElevation)) {
        return kNaN;
    }
    return 1.0 / std::sin(m_elevation * kRad);
}

// The quantities are sums over the spectra, so the blocked beam's are those of its spectrum.
void CRecordComponents::ComputeComponents(const CQuantityWeights& weights) {
    const SpectrumQuantities global = weights.Apply(m_positionSpectrum[0]);
    const SpectrumQuantities blocked = weights.Apply(m_spectrum[kDirectHorizontal]);
    m_component[kGlobal] = global;
    m_component[kDirectHorizontal] = blocked;
    m_component[kDiffuse] = {global.par - blocked.par, global.photon - blocked.photon,
                             global.lum - blocked.lum, global.uva - blocked.uva};
    const double normal = DirectNormalFactor();
    m_component[kDirectNormal] = {blocked.par * normal, blocked.photon * normal,
                                  blocked.lum * normal, blocked.uva * normal};
    m_sideBandPar[0] = m_measured[1] ? weights.Par(m_positionSpectrum[1]) : kNaN;
    m_sideBandPar[1] = m_measured[3] ? weights.Par(m_positionSpectrum[3]) : kNaN;
}

void CRecordComponents::ComputeSpectra(int first, int last) {
    const double normal = DirectNormalFactor();
    const double* e0 = m_positionSpectrum[0];
    const double* e1 = m_positionSpectrum[1];
    const double* e2 = m_positionSpectrum[2];
    const double* e3 = m_positionSpectrum[3];
    for (int i = first; i <= last; ++i) {
        const double blocked = Blocked(e1[i], e2[i], e3[i]);
        m_spectrum[kGlobal][i] = e0[i];
        m_spectrum[kDiffuse][i] = e0[i] - blocked;
        m_spectrum[kDirectHorizontal][i] = blocked;
        m_spectrum[kDirectNormal][i] = blocked * normal;
    }
}

// Comparisons with NaN are false, so a check whose inputs are undefined raises nothing.
void CRecordComponents::ComputeFlags(const RADDATA& record) {
    m_flags = 0;
    for (int m = 0; m < kSpectraPerRecord; ++m) {
        if (!m_measured[m]) {
            m_flags |= kFlagNotMeasured;
        } else if (OverExposed(record.spec[m])) {
            m_flags |= kFlagOverExposed;
        }
    }
    const double global = m_component[kGlobal].par;
    const double blocked = m_component[kDirectHorizontal].par;
    const double diffuse = m_component[kDiffuse].par;
    if (m_elevation > kDirectBeamElevation && blocked < kDirectBeamShare * global) {
        m_flags |= kFlagNoDirectBeam;
    }
    const double side1 = m_sideBandPar[0];
    const double side3 = m_sideBandPar[1];
    if (std::fabs(side1 - side3) > kSideBandTolerance * (side1 + side3) / 2.0) {
        m_flags |= kFlagSideBandsDisagree;
    }
    if (!(m_elevation >= kLowSunElevation)) {
        m_flags |= kFlagLowSun;
    }
    if (blocked < -kNegativeTolerance * global || diffuse < -kNegativeTolerance * global) {
        m_flags |= kFlagInconsistent;
    }
}
