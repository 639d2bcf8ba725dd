// CRecordComponents: direct and diffuse light, solar position and quality flags of one record.
#pragma once

#include <cstdint>

#include "data/QuantityWeights.h"
#include "data/RadRecord.h"

class CRadData;

// The light of one record split by what the band hid. With E0..E3 the spectra of band
// positions 0..3 (global; side band at beta - edge; shaded at beta; side band at beta + edge):
// the blocked beam B = (E1 + E3) / 2 - E2 (the side views correct for the strip of sky the band
// hides), direct horizontal = B, diffuse = E0 - B, direct normal = B / cos(zenith). A value that
// needs a position that was not measured, or the direct normal with the sun low, is NaN.
class CRecordComponents {
public:
    enum Component { kGlobal, kDiffuse, kDirectHorizontal, kDirectNormal, kComponentCount };

    // Quality flags, one bit each.
    static constexpr uint32_t kFlagNotMeasured = 1;
    static constexpr uint32_t kFlagOverExposed = 2;
    static constexpr uint32_t kFlagNoDirectBeam = 4;
    static constexpr uint32_t kFlagSideBandsDisagree = 8;
    static constexpr uint32_t kFlagLowSun = 16;
    static constexpr uint32_t kFlagInconsistent = 32;
    static constexpr int kFlagCount = 6;

    // A light count at or above this is over-exposed; the measurement stores a pixel above it
    // with count and dark both 0.
    static constexpr int kOverExposedCount = 17700;
    // Below this refracted elevation (degrees) the direct normal is not computed.
    static constexpr double kLowSunElevation = 5.0;
    // Above this elevation a clear beam is expected ...
    static constexpr double kDirectBeamElevation = 10.0;
    // ... carrying at least this share of the global PAR.
    static constexpr double kDirectBeamShare = 0.02;
    // Side-band PARs differing by more than this share of their mean disagree.
    static constexpr double kSideBandTolerance = 0.10;
    // A blocked beam or diffuse PAR below minus this share of the global PAR is inconsistent.
    static constexpr double kNegativeTolerance = 0.02;

    // Computes everything for a record of a file whose header (grid, calibration, site) is
    // header; weights must be made for header's grid. Pixel spectra are kept only when
    // withSpectra is set (the per-record verbs need them, day series do not).
    void Compute(const CRadData& header, const CQuantityWeights& weights, const RADDATA& record,
                 bool withSpectra = false);
    // Compute without spectra from a record's byte image as the data file holds it
    // (kRadDataBytes at any alignment), so a day series can work on the file's bytes where they
    // lie. The same figures as Compute, to the last bit.
    void ComputeQuantities(const CRadData& header, const CQuantityWeights& weights,
                           const unsigned char* image);

    // Refracted elevation and azimuth (from south, westward positive) of the sun at the
    // record's time and the file's site, degrees; NaN when the time cannot be converted.
    double m_elevation = 0.0;
    double m_azimuth = 0.0;
    bool m_measured[kSpectraPerRecord] = {};
    SpectrumQuantities m_component[kComponentCount] = {};
    // PAR of the two side-band views (positions 1 and 3).
    double m_sideBandPar[2] = {};
    uint32_t m_flags = 0;
    // Spectral irradiance of each band position (NaN where not measured) and of each component
    // at each pixel, W/m2/um; only set by Compute with withSpectra.
    double m_positionSpectrum[kSpectraPerRecord][kPixelCount] = {};
    double m_spectrum[kComponentCount][kPixelCount] = {};

private:
    void ComputeSun(const CRadData& header, int32_t measTime);
    void ComputeSpectra(int first, int last);
    void ComputeComponents(const CQuantityWeights& weights);
    void SumPositions(const CRadData& header, const CQuantityWeights& weights,
                      const unsigned char* image);
    void ComputeFlags(const unsigned char* image);
    double DirectNormalFactor() const;
};
