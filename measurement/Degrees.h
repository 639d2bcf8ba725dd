// Angles of the sun and the band are kept in degrees; the trigonometry takes radians.
#pragma once

inline constexpr double kRadPerDegree = 0.017453292519943295;
