// Weights of the four integrals over one wavelength grid, and their sums over a spectrum.
#include "data/QuantityWeights.h"

#include <cmath>
#include <cstring>

#include "data/RadData.h"
#include "data/WideVectors.h"

namespace {

// A one-pixel probe: count - dark = 1000 at 1000 ms with a calibration factor of 1 gives the
// pixel value 1000.0 exactly.
constexpr int kProbeDiff = 1000;
constexpr int kProbeExposure = 1000;
constexpr double kProbeValue = 1000.0;
// The integrals look up whole nanometres from 315 to 780.
constexpr double kFirstNm = 315.0;
constexpr double kLastNm = 780.0;

bool Increasing(const float* grid) {
    for (int i = 1; i < kPixelCount; ++i) {
        if (!(grid[i] > grid[i - 1])) {
            return false;
        }
    }
    return true;
}

// On an increasing grid a look-up at wl uses only the two pixels around it, so a pixel whose
// neighbours both lie outside the integrals' range weighs nothing and need not be probed.
bool MayWeigh(const float* grid, int i) {
    const double below = grid[i > 0 ? i - 1 : 0];
    const double above = grid[i < kPixelCount - 1 ? i + 1 : kPixelCount - 1];
    return above >= kFirstNm && below <= kLastNm;
}

}  // namespace

CQuantityWeights::CQuantityWeights(const CRadData& header) {
    std::memcpy(m_grid, header.m_wavelength, sizeof m_grid);
    CRadData probe;
    std::memcpy(probe.m_wavelength, header.m_wavelength, sizeof probe.m_wavelength);
    RADDATA record{};
    record.spec[0].valid = 1;
    record.spec[0].exposure = kProbeExposure;
    probe.AddData(record);
    probe.Select(0, 0);
    SPECDATA& spec = probe.GetRecord(0)->spec[0];
    const bool increasing = Increasing(m_grid);
    for (int i = 0; i < kPixelCount; ++i) {
        if (increasing && !MayWeigh(m_grid, i)) {
            continue;
        }
        spec.count[i] = kProbeDiff;
        double weights[kQuantityCount];
        if (increasing) {
            // Only the look-ups between pixel i's neighbours can see it.
            const int below = static_cast<int>(std::floor(m_grid[i > 0 ? i - 1 : 0])) - 1;
            const int above =
                static_cast<int>(std::ceil(m_grid[i < kPixelCount - 1 ? i + 1 : i])) + 1;
            probe.GetIntegralsWithin(below, above, weights);
        } else {
            weights[kPar] = probe.GetPAR();
            weights[kPhoton] = probe.GetPhoton();
            weights[kLum] = probe.GetLum();
            weights[kUva] = probe.GetUVA();
        }
        spec.count[i] = 0;
        bool used = false;
        for (int q = 0; q < kQuantityCount; ++q) {
            m_weight[i][q] = weights[q] / kProbeValue;
            used = used || weights[q] != 0.0;
        }
        if (used) {
            m_first = m_last < 0 ? i : m_first;
            m_last = i;
        }
    }
}

bool CQuantityWeights::SameGrid(const CRadData& header) const {
    return std::memcmp(m_grid, header.m_wavelength, sizeof m_grid) == 0;
}

// Two partial sums per quantity keep the additions from waiting on each other; the four
// quantities of a pixel are independent lanes the compiler can add side by side.
HALVO_WIDE_VECTORS SpectrumQuantities CQuantityWeights::Apply(const double* pixelValues) const {
    double even[kQuantityCount] = {};
    double odd[kQuantityCount] = {};
    int i = m_first;
    for (; i + 1 <= m_last; i += 2) {
        const double a = pixelValues[i];
        const double b = pixelValues[i + 1];
        for (int q = 0; q < kQuantityCount; ++q) {
            even[q] += m_weight[i][q] * a;
            odd[q] += m_weight[i + 1][q] * b;
        }
    }
    for (; i <= m_last; ++i) {
        for (int q = 0; q < kQuantityCount; ++q) {
            even[q] += m_weight[i][q] * pixelValues[i];
        }
    }
    return {even[kPar] + odd[kPar], even[kPhoton] + odd[kPhoton], even[kLum] + odd[kLum],
            even[kUva] + odd[kUva]};
}

HALVO_WIDE_VECTORS double CQuantityWeights::Par(const double* pixelValues) const {
    double even = 0.0;
    double odd = 0.0;
    int i = m_first;
    for (; i + 1 <= m_last; i += 2) {
        even += m_weight[i][kPar] * pixelValues[i];
        odd += m_weight[i + 1][kPar] * pixelValues[i + 1];
    }
    for (; i <= m_last; ++i) {
        even += m_weight[i][kPar] * pixelValues[i];
    }
    return even + odd;
}
