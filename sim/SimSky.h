// CSimSky: the clear sky the simulated instruments look at, with or under the shadow band.
#pragma once

#include <cstdint>

class CSimSky {
public:
    struct SunState {
        double elevation = -90.0;  // true elevation, degrees
        double azimuth = 0.0;      // from south, westward positive, degrees
        double airMass = 0.0;      // 0 with the sun below the horizon
        double bandAngle = 0.0;    // band angle that puts the band's shadow on the sensor
    };

    // Angular half-width of the band's shadow: the sun is hidden this close to its band angle.
    static constexpr double kShadowHalfWidth = 3.5;

    // The sun at a time and site, with the band angle the measurement program steers by.
    static SunState Sun(int64_t utcSeconds, double longitude, double latitude);

    // Irradiance on the horizontal sensor in W/m2/um at wavelength nm with the band standing at
    // bandAngle (degrees, the program's convention).
    static double Irradiance(double nm, const SunState& sun, double bandAngle);
};
