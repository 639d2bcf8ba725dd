// The sun's refracted elevation and the shadow band's angle in its tilted rotation frame.
#pragma once

// Elevation with atmospheric refraction, degrees.
double RefractedElevation(double elevation);
// Band angle in degrees for the sun's azimuth (from south, westward positive) and refracted
// elevation: near 0 at noon, negative in the morning, positive in the afternoon.
double BandAngle(double azimuth, double refractedElevation);
