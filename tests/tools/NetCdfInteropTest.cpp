// The NetCDF export read by tools written elsewhere: Python's xarray and ncdump (with -s, the
// storage: chunks of one record).
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "WsxTool.h"
#include "tests/support/ScopedTimeZone.h"
#include "tests/support/SimulatedDay.h"
#include "tests/support/TestRecords.h"

namespace {

constexpr int64_t kSixInTokyo = 1718917200;

// Runs a shell command; its standard output, and its exit status in status.
std::string Capture(const std::string& command, int& status) {
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) {
        status = -1;
        return output;
    }
    char chunk[4096];
    for (size_t n; (n = fread(chunk, 1, sizeof chunk, pipe)) > 0;) {
        output.append(chunk, n);
    }
    const int raw = pclose(pipe);
    status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return output;
}

void WriteText(const std::string& path, const std::string& text) {
    std::ofstream(path) << text;
}

}  // namespace

TEST(NetCdfInterop, XarrayAndNcdumpReadWhatSeriesAndComponentsSay) {
    ScopedTimeZone zone("Asia/Tokyo");
    TempFolder temp;
    const std::string& folder = temp.Path();
    CRadData day;
    FillSimulatedDay(day, kSixInTokyo, 79, 600, 135.0, 35.0);
    day.GetRecord(40)->spec[2].exposure = 0;  // a position never measured: fill values
    ASSERT_EQ(day.SaveFile((folder + "/day.wsx").c_str()), 1);
    const std::string nc = folder + "/day.nc";

    std::ostringstream out;
    std::ostringstream err;
    ASSERT_EQ(CWsxTool().Run({"export", folder + "/day.wsx", "--netcdf", nc}, out, err), 0)
        << err.str();
    ASSERT_EQ(CWsxTool().Run({"series", "--utc", folder + "/day.wsx"}, out, err), 0);
    WriteText(folder + "/series.csv", out.str());
    out.str("");
    ASSERT_EQ(CWsxTool().Run({"components", folder + "/day.wsx", "--record", "40"}, out, err), 0);
    WriteText(folder + "/components.csv", out.str());

    int status = 0;
    const std::string checked =
        Capture(std::string(HALVO_PYTHON) + " " + HALVO_NETCDF_CHECK + " " + nc + " " + folder +
                    "/series.csv " + folder + "/components.csv 40 2>&1",
                status);
    EXPECT_EQ(status, 0) << checked;
    EXPECT_NE(checked.find("79 records, 2048 pixels agree"), std::string::npos) << checked;

    const std::string header = Capture("ncdump -hs " + nc + " 2>&1", status);
    ASSERT_EQ(status, 0) << header;
    for (const char* attribute :
         {":Conventions = \"CF-1.8\"", "time:units = \"seconds since 1970-01-01 00:00:00 UTC\"",
          "wavelength:units = \"nm\"", "qc_flags:flag_masks = 1UB, 2UB, 4UB, 8UB, 16UB, 32UB",
          "qc_flags:flag_meanings = \"position_not_measured over_exposed",
          "solar_zenith_angle:standard_name = \"solar_zenith_angle\"",
          "spectral_irradiance:units = \"W m-2 um-1\"", ":instrument_serial = \"53012345\"",
          ":site_latitude = 35.", "_ChunkSizes = 1, 4, 2048"}) {
        EXPECT_NE(header.find(attribute), std::string::npos) << attribute;
    }
}
