// CSun: the sun's elevation, azimuth and air mass for a site and an instant of Universal Time.
#pragma once

#include <cstdint>

class CSun {
public:
    // year, month 1..12, day 1..31 of the UT date; dayFraction the UT time of day / 86400;
    // longitude east positive, latitude north positive, degrees.
    void Compute(int year, int month, int day, double dayFraction, double longitude,
                 double latitude);
    // Splits a time stamp (seconds since 1970 UTC) into the UT date and day fraction and
    // computes; false (members untouched) when the time cannot be converted.
    bool ComputeAt(int64_t utcSeconds, double longitude, double latitude);

    double m_t = 0.0;
    double m_lambda = 0.0;
    double m_epsilon = 0.0;
    double m_alpha = 0.0;
    double m_delta = 0.0;
    double m_theta = 0.0;
    double m_azimuth = 0.0;
    double m_elevation = 0.0;
    double m_airMass = 0.0;

private:
    static double TimeArgument(int year, int month, int day, double dayFraction);
};
