// Direct and diffuse components, the sun and the quality flags of one record.
#include "data/RecordComponents.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>

#include "data/RadData.h"
#include "data/WideVectors.h"
#include "measurement/BandAngle.h"
#include "measurement/Degrees.h"
#include "measurement/Sun.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Where the fields of a record lie in its byte image.
constexpr size_t kSpecOffset = 4;
constexpr size_t kValidOffset = 0;
constexpr size_t kExposureOffset = 8;
constexpr size_t kCountOffset = 32;
constexpr size_t kDarkOffset = 4128;

// Groups of lanes the compiler keeps in vector registers; every operation on them is the
// scalar operation done on each lane.
using Counts8 = int16_t __attribute__((vector_size(16)));
using Counts16 = int16_t __attribute__((vector_size(32)));
using Ints8 = int32_t __attribute__((vector_size(32)));
using Floats8 = float __attribute__((vector_size(32)));
using Floats4 = float __attribute__((vector_size(16)));
using Doubles4 = double __attribute__((vector_size(32)));
// A group of lanes from or to memory at any address; the compiler makes each one load or store.
// (Vectors are passed by reference: as values their calling convention would depend on the
// processor's features.)
template <typename V>
void Load(V& v, const void* p) {
    std::memcpy(&v, p, sizeof v);
}

template <typename V>
void Store(void* p, const V& v) {
    std::memcpy(p, &v, sizeof v);
}

// A count of the image read in place, at any address.
using LooseCount = int16_t __attribute__((aligned(1), may_alias));

// Little-endian 16-bit counts of the image into lanes.
template <typename V>
void LoadCounts(V& v, const unsigned char* p) {
    Load(v, p);
    if constexpr (std::endian::native == std::endian::big) {
        v = (v << 8) | ((v >> 8) & 0xff);
    }
}

int32_t LoadInt32(const unsigned char* p) {
    uint32_t bits = 0;
    for (int k = 3; k >= 0; --k) {
        bits = (bits << 8) | p[k];
    }
    return static_cast<int32_t>(bits);
}

const unsigned char* SpecImage(const unsigned char* image, int m) {
    return image + kSpecOffset + static_cast<size_t>(m) * kSpecDataBytes;
}

bool Measured(const unsigned char* spec) {
    return LoadInt32(spec + kValidOffset) != 0 && LoadInt32(spec + kExposureOffset) != 0;
}

// A count at the limit, or a pixel the measurement cleared because its count passed it. One
// pass without early exits: nearly every spectrum is scanned to its end anyway.
HALVO_WIDE_VECTORS bool OverExposed(const unsigned char* spec) {
    constexpr int kLanes = 16;
    static_assert(kPixelCount % kLanes == 0);
    Counts16 found{};
    for (int i = 0; i < kPixelCount; i += kLanes) {
        Counts16 count;
        Counts16 dark;
        LoadCounts(count, spec + kCountOffset + 2 * static_cast<size_t>(i));
        LoadCounts(dark, spec + kDarkOffset + 2 * static_cast<size_t>(i));
        found |= static_cast<Counts16>(count >= CRecordComponents::kOverExposedCount) |
                 static_cast<Counts16>((count | dark) == 0);
    }
    Counts16 none{};
    return std::memcmp(&found, &none, sizeof found) != 0;
}

// B = (E1 + E3) / 2 - E2; an undefined position makes it NaN.
double Blocked(double e1, double e2, double e3) {
    return (e1 + e3) / 2.0 - e2;
}

// Pixels summed per step of the fused pass: an even number (the sums pair pixels from the first
// weighed one), and few enough that the step's pixel values stay in the first-level cache.
constexpr int kStepPixels = 64;
static_assert(kStepPixels % 8 == 0 && kPixelCount % kStepPixels == 0);

// Pixel values of pixels [start, start + kStepPixels) of one position, as
// CRadData::PixelValues computes them: (count - dark) x calibration / exposure in single
// precision, then x 1000 in double.
HALVO_WIDE_VECTORS void StepValues(const unsigned char* spec, const float* calib, int start,
                                   double* out) {
    const float exposure = static_cast<float>(LoadInt32(spec + kExposureOffset));
    const float* factor = calib + start;
    if constexpr (std::endian::native == std::endian::little) {
        const auto* count = reinterpret_cast<const LooseCount*>(spec + kCountOffset) + start;
        const auto* dark = reinterpret_cast<const LooseCount*>(spec + kDarkOffset) + start;
        for (int j = 0; j < kStepPixels; ++j) {
            const int d = count[j] - dark[j];
            out[j] = static_cast<double>(static_cast<float>(d) * factor[j] / exposure) * 1000.0;
        }
    } else {
        int16_t count[kStepPixels];
        int16_t dark[kStepPixels];
        for (int j = 0; j < kStepPixels; j += 16) {
            const size_t at = 2 * static_cast<size_t>(start + j);
            Counts16 c;
            Counts16 d;
            LoadCounts(c, spec + kCountOffset + at);
            LoadCounts(d, spec + kDarkOffset + at);
            Store(count + j, c);
            Store(dark + j, d);
        }
        for (int j = 0; j < kStepPixels; ++j) {
            const int d = count[j] - dark[j];
            out[j] = static_cast<double>(static_cast<float>(d) * factor[j] / exposure) * 1000.0;
        }
    }
}

}  // namespace

void CRecordComponents::Compute(const CRadData& header, const CQuantityWeights& weights,
                                const RADDATA& record, bool withSpectra) {
    // On a little-endian host the record is its own byte image (the layout is pinned to the
    // file's); elsewhere it is encoded once.
    auto image = [&](auto&& use) {
        if constexpr (std::endian::native == std::endian::little) {
            use(reinterpret_cast<const unsigned char*>(&record));
        } else {
            unsigned char bytes[kRadDataBytes];
            EncodeRecord(record, bytes);
            use(static_cast<const unsigned char*>(bytes));
        }
    };
    if (!withSpectra) {
        image([&](const unsigned char* bytes) { ComputeQuantities(header, weights, bytes); });
        return;
    }
    ComputeSun(header, record.measTime);
    for (int m = 0; m < kSpectraPerRecord; ++m) {
        const SPECDATA& spec = record.spec[m];
        m_measured[m] = spec.valid != 0 && spec.exposure != 0;
        double* pixels = m_positionSpectrum[m];
        if (m_measured[m]) {
            header.PixelValues(spec, 0, kPixelCount - 1, pixels);
        } else {
            std::fill(pixels, pixels + kPixelCount, kNaN);
        }
    }
    ComputeSpectra(0, kPixelCount - 1);
    ComputeComponents(weights);
    image([&](const unsigned char* bytes) { ComputeFlags(bytes); });
}

void CRecordComponents::ComputeQuantities(const CRadData& header, const CQuantityWeights& weights,
                                          const unsigned char* image) {
    ComputeSun(header, LoadInt32(image));
    for (int m = 0; m < kSpectraPerRecord; ++m) {
        m_measured[m] = Measured(SpecImage(image, m));
    }
    SumPositions(header, weights, image);
    ComputeFlags(image);
}

// One pass over the weighed pixels for every sum of the record: the global spectrum's four
// quantities, the blocked beam's four and the two side bands' PAR. Each sum adds the same
// products in the same order as CQuantityWeights::Apply and Par over the spectra Compute
// builds, so the figures are the same to the last bit; the pixel values are made a step at a
// time and never stored for the whole spectrum.
HALVO_WIDE_VECTORS void CRecordComponents::SumPositions(const CRadData& header,
                                                        const CQuantityWeights& weights,
                                                        const unsigned char* image) {
    // Sums of the even- and odd-numbered pixels from the first: four quantities side by side
    // for the global and blocked spectra, PAR alone for the side bands.
    Doubles4 globalEven = {};
    Doubles4 globalOdd = {};
    Doubles4 blockedEven = {};
    Doubles4 blockedOdd = {};
    double side1Even = 0.0;
    double side1Odd = 0.0;
    double side3Even = 0.0;
    double side3Odd = 0.0;
    alignas(32) double values[kSpectraPerRecord][kStepPixels];
    alignas(32) double beam[kStepPixels];
    const int first = weights.First();
    const int last = weights.Last();
    for (int from = first; from <= last; from += kStepPixels) {
        const int count = std::min(kStepPixels, last + 1 - from);
        // The step's values are made for a whole window inside the spectrum.
        const int start = std::min(from, kPixelCount - kStepPixels);
        for (int m = 0; m < kSpectraPerRecord; ++m) {
            if (m_measured[m]) {
                StepValues(SpecImage(image, m), header.m_calib, start, values[m]);
            } else {
                std::fill(values[m], values[m] + kStepPixels, kNaN);
            }
        }
        for (int j = 0; j < kStepPixels; j += 4) {
            Doubles4 e1;
            Load(e1, values[1] + j);
            Doubles4 e2;
            Load(e2, values[2] + j);
            Doubles4 e3;
            Load(e3, values[3] + j);
            const Doubles4 b = (e1 + e3) / 2.0 - e2;
            Store(beam + j, b);
        }
        const double* e0 = values[0] + (from - start);
        const double* e1 = values[1] + (from - start);
        const double* e3 = values[3] + (from - start);
        const double* bb = beam + (from - start);
        int j = 0;
        for (; j + 1 < count; j += 2) {
            const double* row = weights.Row(from + j);
            Doubles4 w0;
            Load(w0, row);
            Doubles4 w1;
            Load(w1, row + 4);
            globalEven += w0 * e0[j];
            globalOdd += w1 * e0[j + 1];
            blockedEven += w0 * bb[j];
            blockedOdd += w1 * bb[j + 1];
            side1Even += row[0] * e1[j];
            side1Odd += row[4] * e1[j + 1];
            side3Even += row[0] * e3[j];
            side3Odd += row[4] * e3[j + 1];
        }
        if (j < count) {
            const double* row = weights.Row(from + j);
            Doubles4 w;
            Load(w, row);
            globalEven += w * e0[j];
            blockedEven += w * bb[j];
            side1Even += row[0] * e1[j];
            side3Even += row[0] * e3[j];
        }
    }
    const Doubles4 g = globalEven + globalOdd;
    const Doubles4 b = blockedEven + blockedOdd;
    m_component[kGlobal] = {g[0], g[1], g[2], g[3]};
    m_component[kDirectHorizontal] = {b[0], b[1], b[2], b[3]};
    m_component[kDiffuse] = {g[0] - b[0], g[1] - b[1], g[2] - b[2], g[3] - b[3]};
    const double normal = DirectNormalFactor();
    m_component[kDirectNormal] = {b[0] * normal, b[1] * normal, b[2] * normal, b[3] * normal};
    m_sideBandPar[0] = m_measured[1] ? side1Even + side1Odd : kNaN;
    m_sideBandPar[1] = m_measured[3] ? side3Even + side3Odd : kNaN;
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
    return 1.0 / std::sin(m_elevation * kRadPerDegree);
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
void CRecordComponents::ComputeFlags(const unsigned char* image) {
    m_flags = 0;
    for (int m = 0; m < kSpectraPerRecord; ++m) {
        if (!m_measured[m]) {
            m_flags |= kFlagNotMeasured;
        } else if (OverExposed(SpecImage(image, m))) {
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
