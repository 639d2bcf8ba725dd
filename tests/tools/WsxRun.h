// halvo-wsx run in-process with its outputs captured, in a scratch folder on Tokyo time.
#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "WsxTool.h"
#include "tests/support/ScopedTimeZone.h"
#include "tests/support/TestFiles.h"

inline constexpr int64_t kSixInTokyo = 1718917200;  // 2024-06-21 06:00 local

class WsxRun : public ::testing::Test {
protected:
    int Run(const std::vector<std::string>& args) {
        out.str("");
        err.str("");
        return CWsxTool().Run(args, out, err);
    }

    ScopedTimeZone zone{"Asia/Tokyo"};
    TempFolder temp;
    std::string folder = temp.Path();
    std::ostringstream out;
    std::ostringstream err;
};
