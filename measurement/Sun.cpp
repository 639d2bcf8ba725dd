// Low-precision solar position: ecliptic longitude, equatorial coordinates, horizon coordinates.
#include "measurement/Sun.h"

#include <cmath>
#include <ctime>
#include <limits>

#include "measurement/Degrees.h"

namespace {

// Conversion toward zero to a 32-bit integer, saturated so that no input is undefined.
double Trunc32(double x) {
    if (!(x > -2147483648.0)) {
        return std::isnan(x) ? 0.0 : -2147483648.0;
    }
    if (x >= 2147483647.0) {
        return 2147483647.0;
    }
    return static_cast<double>(static_cast<int32_t>(x));
}

double CosDeg(double degrees) {
    return std::cos(degrees * kRadPerDegree);
}
double SinDeg(double degrees) {
    return std::sin(degrees * kRadPerDegree);
}

struct PeriodicTerm {
    double a;
    double b;
    double k;
};

constexpr PeriodicTerm kLongitudeTerms[] = {
    {71998.1, 265.1, 0.0200}, {32964, 158, 0.0020}, {19, 159, 0.0018},   {445267, 208, 0.0018},
    {45038, 254, 0.0015},     {22519, 352, 0.0013}, {65929, 45, 0.0007}, {3035, 110, 0.0007},
    {9038, 64, 0.0007},       {33718, 316, 0.0006}, {155, 118, 0.0005},  {2281, 221, 0.0005},
    {29930, 48, 0.0004},      {31557, 161, 0.0004},
};

double EclipticLongitude(double t) {
    const double anomaly = 35999.05 * t + 267.52;
    double lambda =
        280.4659 + 36000.7695 * t + 1.9147 * CosDeg(anomaly) - 0.0048 * t * CosDeg(anomaly);
    for (const PeriodicTerm& term : kLongitudeTerms) {
        lambda += term.k * CosDeg(term.a * t + term.b);
    }
    lambda += -0.0057 + 0.0048 * CosDeg(1934 * t + 145);
    lambda = lambda - Trunc32(lambda / 360) * 360;
    if (lambda < 0) {
        lambda += 360;
    }
    return lambda;
}

}  // namespace

double CSun::TimeArgument(int year, int month, int day, double dayFraction) {
    int y = year;
    int m = month;
    if (month < 3) {
        y = year - 1;
        m = month + 12;
    }
    const int a = y / 100;
    const int b = 2 - a + a / 4;
    const double c = y > 0 ? Trunc32(365.25 * y) : Trunc32(365.25 * y - 0.75);
    const double d = Trunc32(30.6001 * (m + 1));
    const double jd = d + 1720994.5 + b + c + day + dayFraction;
    const double deltaT = (year - 1990) * 0.8 + 58.0;
    return (jd - 2451545.0) / 36525.0 + deltaT / 3600.0 / 24.0 / 36525.0;
}

void CSun::Compute(int year, int month, int day, double dayFraction, double longitude,
                   double latitude) {
    const double t = TimeArgument(year, month, day, dayFraction);
    m_t = t;
    m_lambda = EclipticLongitude(t);
    m_epsilon = 23.43929 - 0.0130042 * t - 1.639e-7 * t * t - 5.0361e-7 * t * t * t;

    m_alpha = std::atan2(CosDeg(m_epsilon) * SinDeg(m_lambda), CosDeg(m_lambda)) / kRadPerDegree;
    if (m_alpha < 0) {
        m_alpha += 360;
    }
    m_delta = std::asin(SinDeg(m_epsilon) * SinDeg(m_lambda)) / kRadPerDegree;

    const double s =
        (24 * dayFraction + 12.0 + 18.69735 + 2400.0513 * t + 0.00029 * CosDeg(1934 * t + 145)) /
        24.0;
    m_theta = s - Trunc32(s);
    if (m_theta < 0) {
        m_theta += 1;
    }

    const double hourAngle = 360 * m_theta + longitude - m_alpha;
    const double phi = latitude;
    m_elevation = std::asin(CosDeg(phi) * CosDeg(m_delta) * CosDeg(hourAngle) +
                            SinDeg(phi) * SinDeg(m_delta)) /
                  kRadPerDegree;
    m_azimuth = std::atan2(SinDeg(hourAngle) * CosDeg(m_delta),
                           SinDeg(phi) * CosDeg(m_delta) * CosDeg(hourAngle) -
                               SinDeg(m_delta) * CosDeg(phi)) /
                kRadPerDegree;
    if (m_elevation > 0) {
        m_airMass = 1 / (SinDeg(m_elevation) + 0.15 * std::pow(m_elevation + 3.885, -1.253));
    } else {
        m_airMass = 0;
    }
}

bool CSun::ComputeAt(int64_t utcSeconds, double longitude, double latitude) {
    if (utcSeconds < std::numeric_limits<time_t>::min() ||
        utcSeconds > std::numeric_limits<time_t>::max()) {
        return false;
    }
    const time_t t = static_cast<time_t>(utcSeconds);
    struct tm ut {};
    if (gmtime_r(&t, &ut) == nullptr) {
        return false;
    }
    const double dayFraction = (ut.tm_sec + 60 * ut.tm_min + 3600 * ut.tm_hour) / 86400.0;
    Compute(ut.tm_year + 1900, ut.tm_mon + 1, ut.tm_mday, dayFraction, longitude, latitude);
    return true;
}
