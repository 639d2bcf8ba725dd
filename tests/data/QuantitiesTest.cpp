// Spectral irradiance, its interpolation and the four integrated quantities.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

#include "data/LuminousEfficiency.h"
#include "data/RadData.h"
#include "tests/support/TestRecords.h"

TEST(LuminousEfficiency, OneNanometreTableInterpolatesTheFiveNanometreValues) {
    const std::pair<int, double> values[] = {{380, 0.000039}, {381, 0.000044}, {555, 1.0},
                                             {556, 0.999},    {700, 0.004102}, {779, 0.0000162},
                                             {780, 0.000015}, {379, 0.0},      {781, 0.0}};
    for (const auto& [nm, value] : values) {
        EXPECT_NEAR(LuminousEfficiency(nm), value, 1e-12) << nm;
    }
    double sum = 0.0;
    for (int nm = kLumFirstNm; nm <= kLumLastNm; ++nm) {
        sum += LuminousEfficiency(nm);
    }
    EXPECT_NEAR(sum, 106.856527, 5e-7);
}

// 1000 counts a second at calibration 1 everywhere but at pixel 10 (305.5 nm, outside every
// integral), whose value is computed in single precision; the photon irradiance is E x wl / hc;
// a spectrum never measured integrates to zero.
TEST(Irradiance, FlatSpectrumAndItsIntegralsMatchTheWorkedExample) {
    CRadData data;
    SetLinearGrid(data);
    data.m_calib[10] = 1.1f;
    data.AddData(FlatRecord(3, 7));
    data.AddData(FlatRecord(1000, 100));
    data.Select(0, 0);
    EXPECT_EQ(data.GetIrradiance(305.5), static_cast<double>(3.0f * 1.1f / 7.0f) * 1000.0);
    data.Select(1, 0);
    for (double wl : {300.5, 777.25, 1324.0}) {
        EXPECT_DOUBLE_EQ(data.GetIrradiance(wl), 10000.0) << wl;
    }
    EXPECT_NEAR(data.GetPhotonIrradiance(500.0), 41797.1041239, 1e-6);
    EXPECT_NEAR(data.GetPAR(), 3000.0, 1e-9);
    EXPECT_NEAR(data.GetUVA(), 850.0, 1e-9);
    EXPECT_NEAR(data.GetPhoton(), 13793.0443609, 1e-6);
    EXPECT_NEAR(data.GetLum(), 729830.1, 0.05);
    data.AddData(RADDATA{});
    data.Select(2, 0);
    EXPECT_EQ(data.GetIrradiance(500.0), 0.0);
    EXPECT_EQ(data.GetPAR(), 0.0);
    EXPECT_EQ(data.GetLum(), 0.0);
}

TEST(Irradiance, InterpolatesLinearlyBetweenPixelsAndKeepsNegativeValues) {
    CRadData data;
    SetLinearGrid(data);
    RADDATA r = FlatRecord(0, 100);
    for (int i = 0; i < kPixelCount; ++i) {
        r.spec[1].count[i] = static_cast<int16_t>(100 + i % 7 * 10 - 30);
    }
    data.AddData(r);
    data.Select(0, 1);
    // Pixel i lies at 300.5 + 0.5 i nm; its value is (i % 7 * 10 - 30) * 10.
    const std::pair<double, double> cases[] = {
        {300.5, -300.0},                        // first pixel, no interpolation
        {1324.0, (2047 % 7 * 10 - 30) * 10.0},  // last pixel
        {301.0, -200.0},                        // pixel 1
        {300.75, -250.0},                       // halfway between pixels 0 and 1
        {302.125, 25.0},                        // a quarter of the way from pixel 3 (0) to 4 (100)
        {300.0, 0.0},                           // below the grid: no reading
        {1324.5, 0.0},                          // above the grid
        {std::numeric_limits<double>::quiet_NaN(), 0.0},
    };
    for (const auto& [wl, expected] : cases) {
        // Pixel values are single precision: -0.3f is -0.30000001.
        EXPECT_NEAR(data.GetIrradiance(wl), expected, 1e-4) << wl;
    }
}

// Every wavelength 0, a grid falling from 1200 nm, and plateaus and a dip inside a rising grid.
TEST(Irradiance, GridsThatDoNotIncreaseGiveDefinedValues) {
    CRadData flat, falling, stepped;
    CRadData::SetField(falling.m_coef[0], "1200");
    CRadData::SetField(falling.m_coef[1], "-0.4");
    falling.UpdateWavelengths();
    SetLinearGrid(stepped);
    std::fill(stepped.m_wavelength + 100, stepped.m_wavelength + 200, 400.0f);
    stepped.m_wavelength[1500] = 310.0f;
    for (CRadData* data : {&flat, &falling, &stepped}) {
        data->AddData(FlatRecord(1000, 100));
        data->Select(0, 0);
    }
    EXPECT_EQ(flat.GetIrradiance(500.0), 0.0);
    EXPECT_DOUBLE_EQ(flat.GetIrradiance(0.0), 10000.0);
    EXPECT_EQ(flat.GetPAR(), 0.0);
    EXPECT_EQ(falling.GetIrradiance(800.0), 0.0);
    EXPECT_TRUE(std::isfinite(stepped.GetIrradiance(400.0)));
    EXPECT_TRUE(std::isfinite(stepped.GetLum()));
}
