// Components, sun and quality flags of records with flat spectra, and the integrals as weights.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <memory>
#include <utility>
#include <vector>

#include "data/CLocaleFormat.h"
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

// The flags, side-band PARs and each component's irradiance at the given pixels and PAR,
// photon, luminous and UV-A sums as text, each number in format and nan when undefined.
std::string Figures(const CRecordComponents& c, const char* format, std::vector<int> pixels) {
    const char* const flagNames[] = {" not-measured",   " over-exposed", " no-beam",
                                     " sides-disagree", " low-sun",      " inconsistent"};
    std::string out = "flags";
    for (int f = 0; f < CRecordComponents::kFlagCount; ++f) {
        out += (c.m_flags >> f & 1) != 0 ? flagNames[f] : "";
    }
    out +=
        (c.m_flags >> CRecordComponents::kFlagCount) != 0 ? " unknown, side bands" : ", side bands";
    const auto add = [&](double v) {
        out += std::isnan(v) ? std::string(" nan") : FormatC(format, v);
    };
    add(c.m_sideBandPar[0]);
    add(c.m_sideBandPar[1]);
    for (int comp = 0; comp < CRecordComponents::kComponentCount; ++comp) {
        out += "\n ";
        for (int pixel : pixels) {
            add(c.m_spectrum[comp][pixel]);
        }
        const SpectrumQuantities& q = c.m_component[comp];
        for (double v : {q.par, q.photon, q.lum, q.uva}) {
            add(v);
        }
    }
    return out + "\n";
}

class Components : public ::testing::Test {
protected:
    void SetUp() override {
        SetLinearGrid(data);
        data.m_longitude = 135.0;
        data.m_latitude = 35.0;
        c = std::make_unique<CRecordComponents>();
    }
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
    std::unique_ptr<CRecordComponents> c;
};

}  // namespace

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
    for (const auto& [weighted, integral] :
         {std::pair{q.par, data.GetPAR()}, std::pair{q.photon, data.GetPhoton()},
          std::pair{q.lum, data.GetLum()}, std::pair{q.uva, data.GetUVA()},
          std::pair{curved.Par(pixels), data.GetPAR()}}) {
        EXPECT_NEAR(weighted, integral, 1e-11 * std::fabs(integral));
    }
}

// Each case's sun, flags and side-band PARs, and per component (global, diffuse, direct
// horizontal, direct normal) the irradiance at the first, a middle and the last pixel and PAR,
// photon, luminous and UV-A sums, against data/components.txt. The positions' irradiance in
// W/m2/um is a clear sky unless a row says otherwise: by hand, diffuse 400, direct 600, direct
// normal 600 / sin(78.43 degrees); PAR of a flat E is E x 300 / 1000, UV-A E x 85 / 1000. What
// needs an unmeasured position, or the direct normal of a low sun, is undefined (nan).
TEST_F(Components, EachCaseSplitsAndFlagsAsTheReferenceSays) {
    const CQuantityWeights weights(data);
    const struct {
        const char* name;
        void (*damage)(RADDATA&);
        double global = 1000, side1 = 900, shaded = 300, side2 = 900;
        int32_t time = kNoonInTokyo;
    } cases[] = {
        {"clear sky", nullptr},
        {"position never measured", [](RADDATA& r) { r.spec[3].exposure = 0; }},
        {"position left invalid", [](RADDATA& r) { r.spec[1].valid = 0; }},
        {"global left invalid", [](RADDATA& r) { r.spec[0].valid = 0; }},
        {"count at the limit",
         [](RADDATA& r) { r.spec[1].count[7] = CRecordComponents::kOverExposedCount; }},
        {"pixel cleared above the limit",
         [](RADDATA& r) { r.spec[3].count[9] = r.spec[3].dark[9] = 0; }},
        {"band missed the sun", nullptr, 1000, 900, 890, 900},
        {"side bands disagree", nullptr, 1000, 900, 300, 700},
        {"side bands disagree, shade unmeasured", [](RADDATA& r) { r.spec[2].exposure = 0; }, 1000,
         900, 300, 700},
        {"sun low", nullptr, 100, 90, 30, 90, kNightInTokyo},
        {"blocked beam negative", nullptr, 1000, 300, 900, 300},
        {"diffuse negative", nullptr, 500, 900, 100, 900},
        {"just inside every limit", nullptr, 1000, 900, 830, 820},
    };
    std::string table;
    for (const auto& k : cases) {
        RADDATA r = FlatPositions(k.global, k.side1, k.shaded, k.side2, k.time);
        if (k.damage != nullptr) {
            k.damage(r);
        }
        c->Compute(data, weights, r, true);
        table +=
            FormatC("%s: elevation %.8f, azimuth %.8f, ", k.name, c->m_elevation, c->m_azimuth) +
            Figures(*c, " %.7g", {0, 700, kPixelCount - 1});
    }
    EXPECT_EQ(ReferenceMismatch(table, HALVO_AREA_DATA_DIR "/components.txt"), "");
}

// The day series' single pass over the pixels must give the figures of the spectra, bit for
// bit (17 digits tell every double apart): the rows of a series and of the per-record verbs
// are compared as text.
TEST_F(Components, OnePassSumsEqualTheSpectraSumsToTheLastBit) {
    MakeCurved();
    const CQuantityWeights curved(data);
    auto spectra = std::make_unique<CRecordComponents>();
    // Whole, the shade never measured, a count at the limit, the sun below the horizon.
    for (const int variant : {0, 1, 2, 3}) {
        RADDATA r = FlatPositions(1000, 900, 300, 880, variant == 3 ? kNightInTokyo : kNoonInTokyo);
        for (int m = 0; m < kSpectraPerRecord; ++m) {
            r.spec[m].exposure = m == 2 && variant == 1 ? 0 : 37 + 100 * m;
            for (int i = 0; i < kPixelCount; ++i) {
                r.spec[m].count[i] = static_cast<int16_t>(3000 + 1500 * std::sin(i / (9.0 + m)));
                r.spec[m].dark[i] = static_cast<int16_t>(400 + i % 53);
            }
        }
        if (variant == 2) {
            r.spec[0].count[1500] = CRecordComponents::kOverExposedCount;
        }
        spectra->Compute(data, curved, r, true);
        c->Compute(data, curved, r);
        EXPECT_EQ(Figures(*c, " %.17g", {}), Figures(*spectra, " %.17g", {})) << variant;
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
