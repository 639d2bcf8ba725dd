// Refraction and the band angle of the shadow band, whose rotation frame is tilted by -15°.
#include "measurement/BandAngle.h"

#include <cmath>

#include "measurement/Degrees.h"

namespace {

constexpr double kFrameTilt = -0.2617993877991494;  // -15° in radians
constexpr double kRefractionSwitch = -0.586;

}  // namespace

double RefractedElevation(double h) {
    if (h > kRefractionSwitch) {
        return h + 0.0167 / std::tan((h + 8.6 / (h + 4.4)) * kRadPerDegree);
    }
    return h - kRefractionSwitch;
}

double BandAngle(double azimuth, double refractedElevation) {
    const double a = azimuth * kRadPerDegree;
    const double h = refractedElevation * kRadPerDegree;
    return std::atan2(std::sin(a) * std::cos(h),
                      std::sin(h) * std::cos(kFrameTilt) -
                          std::sin(kFrameTilt) * std::cos(h) * std::cos(a)) /
           kRadPerDegree;
}
