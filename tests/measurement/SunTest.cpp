// Solar position against worked examples and the calendar rules of the Julian day.
#include <gtest/gtest.h>

#include "measurement/Sun.h"

TEST(Sun, WorkedExamplesAtAJapaneseSite) {
    struct Case {
        int month;
        int day;
        double fraction;
        double elevation;
        double azimuth;
        double airMass;
        double declination;
    };
    const Case cases[] = {
        {6, 21, 0.125, 78.429, -2.103, 1.0201, 23.436},
        {6, 21, 0.0, 49.056, -86.205, 1.3221, 23.436},
        {12, 21, 0.125, 31.563, 0.511, 0.0, -23.436},
    };
    for (const Case& c : cases) {
        CSun sun;
        sun.Compute(2024, c.month, c.day, c.fraction, 135.0, 35.0);
        // 31.5625 lies on a rounding boundary of the three-decimal example; allow one step.
        EXPECT_NEAR(sun.m_elevation, c.elevation, 0.001) << c.month << " " << c.fraction;
        EXPECT_NEAR(sun.m_azimuth, c.azimuth, 0.0005) << c.month << " " << c.fraction;
        EXPECT_NEAR(sun.m_delta, c.declination, 0.0005) << c.month << " " << c.fraction;
        if (c.airMass > 0) {
            EXPECT_NEAR(sun.m_airMass, c.airMass, 0.00005);
        }
    }
}

TEST(Sun, J2000NoonCarriesOnlyTheClockCorrection) {
    CSun sun;
    sun.Compute(2000, 1, 1, 0.5, 0.0, 0.0);
    EXPECT_NEAR(sun.m_t, 66.0 / 86400.0 / 36525.0, 1e-12);
    EXPECT_NEAR(sun.m_lambda, 280.369, 0.0005);
    EXPECT_GE(sun.m_alpha, 0.0);
    EXPECT_LT(sun.m_theta, 1.0);
    EXPECT_GE(sun.m_theta, 0.0);
}

TEST(Sun, BelowTheHorizonHasNoAirMass) {
    CSun sun;
    sun.Compute(2024, 6, 21, 0.5, 135.0, 35.0);  // 21:00 local
    EXPECT_LT(sun.m_elevation, 0.0);
    EXPECT_EQ(sun.m_airMass, 0.0);
}

TEST(Sun, AzimuthIsNegativeInTheMorningAndPositiveInTheAfternoon) {
    CSun morning;
    morning.Compute(2024, 9, 1, 14.0 / 24.0, -75.0, 40.0);  // 09:00 at 75° west
    CSun afternoon;
    afternoon.Compute(2024, 9, 1, 21.0 / 24.0, -75.0, 40.0);  // 16:00
    EXPECT_LT(morning.m_azimuth, 0.0);
    EXPECT_GT(afternoon.m_azimuth, 0.0);
}

TEST(Sun, JanuaryAndFebruaryBelongToThePreviousYearsCalendar) {
    // The time argument of 1 March lies one day after 28 February, two in a leap year.
    auto t = [](int year, int month, int day) {
        CSun sun;
        sun.Compute(year, month, day, 0.0, 0.0, 0.0);
        return sun.m_t * 36525.0;
    };
    EXPECT_NEAR(t(2023, 3, 1) - t(2023, 2, 28), 1.0, 1e-9);
    EXPECT_NEAR(t(2024, 3, 1) - t(2024, 2, 28), 2.0, 1e-9);
    // Across New Year the clock correction grows by 0.8 s.
    EXPECT_NEAR(t(2024, 1, 1) - t(2023, 12, 31), 1.0 + 0.8 / 86400.0, 1e-9);
}

TEST(Sun, ComputeAtSplitsTheTimeStampInUniversalTime) {
    CSun direct;
    direct.Compute(2024, 6, 21, 0.125, 135.0, 35.0);
    CSun stamped;
    ASSERT_TRUE(stamped.ComputeAt(1718938800, 135.0, 35.0));
    EXPECT_EQ(stamped.m_elevation, direct.m_elevation);
    EXPECT_EQ(stamped.m_azimuth, direct.m_azimuth);
}
