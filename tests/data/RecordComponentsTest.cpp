// Components, sun and quality flags of records with flat spectra, and the integrals as weights.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <memory>
#include <utility>
#include <vector>

#include "data/QuantityWeights.h"
#include "data/RecordComponents.h"
#include "tests/support/TestRecords.h"

namespace {

// Pixel values are single precision: 30 x 1.0f / 100 is 0.3 to seven digits.
constexpr double kFloatTolerance = 1e-4;
constexpr int32_t kNoonInTokyo = 1718938800;   // 2024-06-21 03:00 UTC, the sun at 78 degrees
constexpr int32_t kNightInTokyo = 1718906400;  // 2024-06-20 18:00 UTC, 03:00 local

// Pixel values (exposure 100 ms, calibration 1): E = 10 x (count - dark).
RADDATA FlatPositions(double e0, double e1, double e2, double e3, int32_t time = kNoonInTokyo) {
    RADDATA r = FlatRecord(0, 100, time);
    const double e[kSpectraPerRecord] = {e0, e1, e2, e3};
    for (int m = 0; m < kSpectraPerRecord; ++m) {
        for (int i = 0; i < kPixelCount; ++i) {
            r.spec[m].count[i] = static_cast<int16_t>(100 + std::lround(e[m] / 10.0));
        }
    }
    return r;
}

class Components : public ::testing::Test {
protected:
    void SetUp() override {
        SetLinearGrid(data);
        data.m_longitude = 135.0;
        data.m_latitude = 35.0;
        weights = std::make_unique<CQuantityWeights>(data);
        c = std::make_unique<CRecordComponents>();
    }
    void Compute(const RADDATA& r) { c->Compute(data, *weights, r, true); }
    // A cubic grid and a calibration that varies from pixel to pixel.
    void MakeCurved() {
        const char* coefficients[kCoefCount] = {
            "2.996000E+02", "3.915000E-01", "-1.000000E-06", "4.000000E-11", "0", "0"};
        for (int k = 0; k < kCoefCount; ++k) {
            CRadData::SetField(data.m_coef[k], coefficients[k]);
        }
        data.UpdateWavelengths();
        for (int i = 0; i < kPixelCount; ++i) {
            data.m_calib[i] = 0.5f + static_cast<float>(i % 97) / 50.0f;
        }
    }

    CRadData data;
    std::unique_ptr<CQuantityWeights> weights;
    std::unique_ptr<CRecordComponents> c;
};

}  // namespace

TEST_F(Components, FlatSpectraSplitAsWorkedByHand) {
    Compute(FlatPositions(1000, 900, 300, 900));
    EXPECT_NEAR(c->m_elevation, 78.43236035, 1e-8);  // refracted, 0.0034 degrees up
    EXPECT_NEAR(c->m_azimuth, -2.10280425, 1e-8);
    const double normal = 1.0207324425774815;  // 1 / sin(elevation)

    for (const int pixel : {0, 700, kPixelCount - 1}) {  // every pixel, the last one too
        EXPECT_DOUBLE_EQ(c->m_spectrum[CRecordComponents::kGlobal][pixel], 1000.0);
        EXPECT_NEAR(c->m_spectrum[CRecordComponents::kDiffuse][pixel], 400.0, kFloatTolerance);
        EXPECT_NEAR(c->m_spectrum[CRecordComponents::kDirectHorizontal][pixel], 600.0,
                    kFloatTolerance);
        EXPECT_NEAR(c->m_spectrum[CRecordComponents::kDirectNormal][pixel], 600.0 * normal,
                    kFloatTolerance);
    }

    // PAR of a flat E over 400-700 nm is E x 300 / 1000, UV-A over 315-400 nm E x 85 / 1000.
    const SpectrumQuantities* q = c->m_component;
    EXPECT_NEAR(q[CRecordComponents::kGlobal].par, 300.0, kFloatTolerance);
    EXPECT_NEAR(q[CRecordComponents::kDiffuse].par, 120.0, kFloatTolerance);
    EXPECT_NEAR(q[CRecordComponents::kDirectHorizontal].par, 180.0, kFloatTolerance);
    EXPECT_NEAR(q[CRecordComponents::kDirectNormal].par, 180.0 * normal, kFloatTolerance);
    EXPECT_NEAR(q[CRecordComponents::kDiffuse].uva, 400.0 * 85 / 1000, kFloatTolerance);
    EXPECT_EQ(c->m_flags, 0u);
}

TEST_F(Components, WeightedSumsAgreeWithTheIntegralsOnACurvedGrid) {
    MakeCurved();
    RADDATA r = FlatRecord(0, 200);
    for (int i = 0; i < kPixelCount; ++i) {
        r.spec[0].count[i] = static_cast<int16_t>(2000 + 1500 * std::sin(i / 37.0));
    }
    data.AddData(r);
    data.Select(0, 0);
    const CQuantityWeights curved(data);
    double pixels[kPixelCount];
    data.PixelValues(r.spec[0], 0, kPixelCount - 1, pixels);
    const SpectrumQuantities q = curved.Apply(pixels);
    const struct {
        double weighted;
        double integral;
    } cases[] = {{q.par, data.GetPAR()},
                 {q.photon, data.GetPhoton()},
                 {q.lum, data.GetLum()},
                 {q.uva, data.GetUVA()},
                 {curved.Par(pixels), data.GetPAR()}};
    for (const auto& k : cases) {
        EXPECT_NEAR(k.weighted, k.integral, 1e-11 * std::fabs(k.integral));
    }
}

// An unmeasured position, or a sun too low for the normal, leaves what needs it undefined.
TEST_F(Components, AnUnmeasuredPositionOrALowSunLeavesWhatNeedsItUndefined) {
    RADDATA r = FlatPositions(1000, 900, 300, 900);
    r.spec[2].exposure = 0;
    Compute(r);
    EXPECT_NEAR(c->m_component[CRecordComponents::kGlobal].par, 300.0, kFloatTolerance);
    for (int comp : {CRecordComponents::kDiffuse, CRecordComponents::kDirectHorizontal,
                     CRecordComponents::kDirectNormal}) {
        EXPECT_TRUE(std::isnan(c->m_component[comp].par)) << comp;
        EXPECT_TRUE(std::isnan(c->m_component[comp].uva)) << comp;
        EXPECT_TRUE(std::isnan(c->m_spectrum[comp][100])) << comp;
    }
    r = FlatPositions(1000, 900, 300, 900);
    r.spec[0].valid = 0;
    Compute(r);
    EXPECT_TRUE(std::isnan(c->m_component[CRecordComponents::kGlobal].lum));
    EXPECT_NEAR(c->m_component[CRecordComponents::kDirectHorizontal].par, 180.0, kFloatTolerance);

    Compute(FlatPositions(100, 90, 30, 90, kNightInTokyo));
    EXPECT_LT(c->m_elevation, CRecordComponents::kLowSunElevation);
    EXPECT_TRUE(std::isnan(c->m_component[CRecordComponents::kDirectNormal].par));
    EXPECT_TRUE(std::isnan(c->m_spectrum[CRecordComponents::kDirectNormal][500]));
    EXPECT_NEAR(c->m_component[CRecordComponents::kDirectHorizontal].par, 18.0, kFloatTolerance);
}

// The positions' irradiance in W/m2/um: a clear sky unless a row says otherwise.
TEST_F(Components, EachFlagHasItsCause) {
    using C = CRecordComponents;
    const struct {
        const char* name;
        void (*damage)(RADDATA&);
        uint32_t flags;
        double global = 1000, side1 = 900, shaded = 300, side2 = 900;
        int32_t time = kNoonInTokyo;
    } cases[] = {
        {"clear sky", nullptr, 0},
        {"position never measured", [](RADDATA& r) { r.spec[3].exposure = 0; },
         C::kFlagNotMeasured},
        {"position left invalid", [](RADDATA& r) { r.spec[1].valid = 0; }, C::kFlagNotMeasured},
        {"count at the limit", [](RADDATA& r) { r.spec[1].count[7] = C::kOverExposedCount; },
         C::kFlagOverExposed},
        {"pixel cleared above the limit",
         [](RADDATA& r) { r.spec[3].count[9] = r.spec[3].dark[9] = 0; }, C::kFlagOverExposed},
        {"band missed the sun", nullptr, C::kFlagNoDirectBeam, 1000, 900, 890, 900},
        {"side bands disagree", nullptr, C::kFlagSideBandsDisagree, 1000, 900, 300, 700},
        {"side bands disagree, shade unmeasured", [](RADDATA& r) { r.spec[2].exposure = 0; },
         C::kFlagNotMeasured | C::kFlagSideBandsDisagree, 1000, 900, 300, 700},
        {"sun low", nullptr, C::kFlagLowSun, 100, 90, 30, 90, kNightInTokyo},
        {"blocked beam negative", nullptr, C::kFlagInconsistent | C::kFlagNoDirectBeam, 1000, 300,
         900, 300},
        {"diffuse negative", nullptr, C::kFlagInconsistent, 500, 900, 100, 900},
        {"just inside every limit", nullptr, 0, 1000, 900, 830, 820},
    };
    for (const auto& k : cases) {
        RADDATA r = FlatPositions(k.global, k.side1, k.shaded, k.side2, k.time);
        if (k.damage != nullptr) {
            k.damage(r);
        }
        Compute(r);
        EXPECT_EQ(c->m_flags, k.flags) << k.name;
    }
}

// The day series' single pass over the pixels must give the figures of the spectra, bit for
// bit: the rows of a series and of the per-record verbs are compared as text.
TEST_F(Components, OnePassSumsEqualTheSpectraSumsToTheLastBit) {
    MakeCurved();
    const CQuantityWeights curved(data);
    auto spectra = std::make_unique<CRecordComponents>();
    for (int variant = 0; variant < 4; ++variant) {
        RADDATA r = FlatPositions(1000, 900, 300, 880);
        for (int m = 0; m < kSpectraPerRecord; ++m) {
            r.spec[m].exposure = 37 + 100 * m;
            for (int i = 0; i < kPixelCount; ++i) {
                r.spec[m].count[i] = static_cast<int16_t>(3000 + 1500 * std::sin(i / (9.0 + m)));
                r.spec[m].dark[i] = static_cast<int16_t>(400 + i % 53);
            }
        }
        if (variant == 1) {
            r.spec[2].exposure = 0;
        } else if (variant == 2) {
            r.spec[0].count[1500] = CRecordComponents::kOverExposedCount;
        } else if (variant == 3) {
            r.measTime = kNightInTokyo;
        }
        spectra->Compute(data, curved, r, true);
        c->Compute(data, curved, r);
        EXPECT_EQ(c->m_flags, spectra->m_flags) << variant;
        for (int comp = 0; comp < CRecordComponents::kComponentCount; ++comp) {
            const SpectrumQuantities& a = c->m_component[comp];
            const SpectrumQuantities& b = spectra->m_component[comp];
            for (auto [x, y] : {std::pair{a.par, b.par}, std::pair{a.photon, b.photon},
                                std::pair{a.lum, b.lum}, std::pair{a.uva, b.uva}}) {
                EXPECT_TRUE(x == y || (std::isnan(x) && std::isnan(y)))
                    << variant << " " << comp << ": " << x << " " << y;
            }
        }
        for (int s = 0; s < 2; ++s) {
            EXPECT_EQ(c->m_sideBandPar[s], spectra->m_sideBandPar[s]) << variant;
        }
    }
}

// The day series' weights come from one lit pixel at a time, summed over the nanometres near
// it only: at the ends of each integral's range too, they must be the full integrals' exactly.
TEST_F(Components, WeightsAreTheFullIntegralsOfOneLitPixelExactly) {
    MakeCurved();
    std::fill(std::begin(data.m_calib), std::end(data.m_calib), 1.0f);
    const CQuantityWeights curved(data);
    data.AddData(FlatRecord(0, 1000));
    data.Select(0, 0);
    SPECDATA& spec = data.GetRecord(0)->spec[0];
    int tested = 0;
    for (int i = 1; i < kPixelCount - 1; ++i) {
        const double wl = data.m_wavelength[i];
        bool nearEnd = std::fabs(wl - 550) < 1;
        for (double end : {315.0, 380.0, 400.0, 700.0, 780.0}) {
            nearEnd = nearEnd || std::fabs(wl - end) < 2;
        }
        if (!nearEnd) {
            continue;
        }
        const int16_t dark = spec.count[i];
        spec.count[i] = static_cast<int16_t>(dark + 1000);
        const double* row = curved.Row(i);
        EXPECT_EQ((std::vector<double>{row[0], row[1], row[2], row[3]}),
                  (std::vector<double>{data.GetPAR() / 1000.0, data.GetPhoton() / 1000.0,
                                       data.GetLum() / 1000.0, data.GetUVA() / 1000.0}))
            << i;
        spec.count[i] = dark;
        ++tested;
    }
    EXPECT_GT(tested, 30);
}
