// Axis arithmetic of the chart: tick steps, value-to-canvas mappings and tick enumeration.
#include "display/GraphMath.h"

#include <cmath>
#include <limits>

namespace graphmath {

namespace {

constexpr double kLadderTop = 1000000.0;
constexpr double kLadderFloor = 0.001;
constexpr int kMinIntervals = 5;

}  // namespace

int TruncToInt(double value) {
    constexpr double lo = std::numeric_limits<int>::min();
    constexpr double hi = std::numeric_limits<int>::max();
    if (std::isnan(value)) {
        return 0;
    }
    if (value <= lo) {
        return std::numeric_limits<int>::min();
    }
    if (value >= hi) {
        return std::numeric_limits<int>::max();
    }
    return static_cast<int>(value);
}

int ClampToShort(int value) {
    constexpr int lo = std::numeric_limits<int16_t>::min();
    constexpr int hi = std::numeric_limits<int16_t>::max();
    return value < lo ? lo : (value > hi ? hi : value);
}

int AddSaturated(int64_t a, int64_t b) {
    const int64_t sum = a + b;
    if (sum < std::numeric_limits<int>::min()) {
        return std::numeric_limits<int>::min();
    }
    if (sum > std::numeric_limits<int>::max()) {
        return std::numeric_limits<int>::max();
    }
    return static_cast<int>(sum);
}

// The ladder steps down by /2, /2.5, /2 so each decade offers 1, 0.5 and 0.2.
double CalcStep(double range) {
    static constexpr double kDivisors[3] = {2.0, 2.5, 2.0};
    double step = kLadderTop;
    int phase = 0;
    while (step > kLadderFloor) {
        if (TruncToInt(range / step) >= kMinIntervals) {
            return step;
        }
        step /= kDivisors[phase];
        phase = (phase + 1) % 3;
    }
    return kLadderFloor;
}

bool AxisUsable(double min, double max) {
    return std::isfinite(min) && std::isfinite(max) && max != min;
}

int AxisOffset(double value, double min, double max, int span) {
    if (!AxisUsable(min, max)) {
        return 0;
    }
    return TruncToInt((value - min) * span / (max - min));
}

TickRange EnumerateTicks(double min, double max, double step) {
    TickRange range;
    range.first = TruncToInt(std::ceil(min / step));
    range.last = TruncToInt(std::floor(max / step));
    return range;
}

std::vector<double> TickValues(double min, double max, double step) {
    std::vector<double> values;
    if (!AxisUsable(min, max) || !(step > 0.0)) {
        return values;
    }
    const TickRange range = EnumerateTicks(min, max, step);
    if (range.Count() > kMaxTicks) {
        return values;
    }
    values.reserve(static_cast<size_t>(range.Count()));
    for (int64_t k = range.first; k <= range.last; ++k) {
        values.push_back(static_cast<double>(k) * step);
    }
    return values;
}

}  // namespace graphmath
