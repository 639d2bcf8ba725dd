// Axis arithmetic of the chart: tick steps, value-to-canvas mappings and tick enumeration.
#pragma once

#include <cstdint>
#include <vector>

namespace graphmath {

// An axis whose tick count would pass this (a range typed into or read from a damaged settings
// file) gets no ticks at all, rather than millions of lines.
inline constexpr int64_t kMaxTicks = 10000;

// Cuts toward zero to a signed 32-bit integer; NaN gives 0, values beyond the range saturate.
int TruncToInt(double value);
// Holds a canvas coordinate to -32768 ... 32767.
int ClampToShort(int value);
// Sum of two coordinates held to the signed 32-bit range.
int AddSaturated(int64_t a, int64_t b);

// Tick step: the first of 1e6, 5e5, 2e5, 1e5, ..., 0.002 giving at least five whole intervals,
// else 0.001.
double CalcStep(double range);

// An axis can be mapped when both ends are finite and differ.
bool AxisUsable(double min, double max);
// trunc((value - min) * span / (max - min)); 0 for an axis that cannot be mapped.
int AxisOffset(double value, double min, double max, int span);

// Tick indices k with k * step inside [min, max]: first = ceil(min / step),
// last = floor(max / step). Empty when first > last.
struct TickRange {
    int64_t first = 0;
    int64_t last = -1;
    int64_t Count() const { return last >= first ? last - first + 1 : 0; }
};
TickRange EnumerateTicks(double min, double max, double step);
// The tick values k * step; none for an unusable axis, a non-positive step or too many ticks.
std::vector<double> TickValues(double min, double max, double step);

}  // namespace graphmath
