// CQuantityWeights: PAR, PHOTON, LUM and UV-A of a spectrum as weighted sums of its pixel values.
#pragma once

#include "data/RadRecord.h"

class CRadData;

// The four integrated quantities of one spectrum: W/m2, umol/m2/s, lux, W/m2. NaN when the
// spectrum is undefined (a position that was not measured).
struct SpectrumQuantities {
    double par;
    double photon;
    double lum;
    double uva;
};

// The page's integrals interpolate between pixels at whole nanometres, so each is a fixed
// weighted sum of the pixel values of the file's wavelength grid. A day or a year of records
// is summed with those weights instead of thousands of interpolated look-ups per spectrum; the
// weights come from the data set's own integrals run on one-pixel spectra, so the figures agree
// with the page's.
class CQuantityWeights {
public:
    explicit CQuantityWeights(const CRadData& header);

    // True when header has the grid these weights were made for.
    bool SameGrid(const CRadData& header) const;
    // pixelValues: the spectral irradiance of the pixels First() to Last() (W/m2/um), indexed
    // by pixel; the others weigh nothing and are not read.
    SpectrumQuantities Apply(const double* pixelValues) const;
    double Par(const double* pixelValues) const;
    int First() const { return m_first; }
    int Last() const { return m_last; }
    // The four weights of pixel i (PAR, PHOTON, LUM, UV-A), for sums fused with other work: a
    // sum that gives the same results as Apply adds, per quantity, the even-numbered pixels from
    // First() and the odd-numbered ones separately, a lone last pixel to the even sum, and then
    // the even sum to the odd one.
    const double* Row(int i) const { return m_weight[i]; }

private:
    enum { kPar, kPhoton, kLum, kUva, kQuantityCount };

    float m_grid[kPixelCount];
    // The four weights of a pixel side by side, so one pass over the pixels sums all four.
    double m_weight[kPixelCount][kQuantityCount] = {};
    int m_first = 0;
    int m_last = -1;
};
