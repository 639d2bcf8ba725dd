// GRAPHPARAM: the graph settings block kept in the settings file.
#pragma once

#include <cstdint>

struct GRAPHPARAM {
    double xMin = 300.0;
    double yMaxLin = 32000.0;
    double xMax = 1100.0;
    double yMinLin = 0.0;
    double yMaxLog = 4.0;
    double yMinLog = 0.0;
    int32_t logScale = 0;
    int32_t autoScale = 1;
    int32_t marker = 0;
    int32_t grid = 1;
    int32_t unit = 0;
    uint32_t color0 = 255;  // 0x00BBGGRR
};
