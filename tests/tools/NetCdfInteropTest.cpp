// The NetCDF export read by tools written elsewhere: Python's xarray and ncdump (with -s, the
// storage: chunks of one record).
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>

#include "tests/support/SimulatedDay.h"
#include "tests/tools/WsxRun.h"

namespace {

class NetCdfInterop : public WsxRun {
protected:
    // Runs a shell command; what it wrote on both outputs, and its exit status in status.
    std::string Capture(const std::string& command, int& status) {
        const int raw = std::system((command + " >" + folder + "captured 2>&1").c_str());
        status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
        return ReadFileBytes(folder + "captured");
    }
};

}  // namespace

TEST_F(NetCdfInterop, XarrayAndNcdumpReadWhatSeriesAndComponentsSay) {
    CRadData day;
    FillSimulatedDay(day, kSixInTokyo, 79, 600, 135.0, 35.0);
    day.GetRecord(40)->spec[2].exposure = 0;  // a position never measured: fill values
    ASSERT_EQ(day.SaveFile((folder + "day.wsx").c_str()), 1);
    const std::string nc = folder + "day.nc";
    ASSERT_EQ(Run({"export", folder + "day.wsx", "--netcdf", nc}), 0) << err.str();
    ASSERT_EQ(Run({"series", "--utc", folder + "day.wsx"}), 0);
    WriteFileBytes(folder + "series.csv", out.str());
    ASSERT_EQ(Run({"components", folder + "day.wsx", "--record", "40"}), 0);
    WriteFileBytes(folder + "components.csv", out.str());

    int status = 0;
    const std::string checked =
        Capture(std::string(HALVO_PYTHON) + " " + HALVO_NETCDF_CHECK + " " + nc + " " + folder +
                    "series.csv " + folder + "components.csv 40",
                status);
    EXPECT_EQ(status, 0) << checked;
    EXPECT_NE(checked.find("79 records, 2048 pixels agree"), std::string::npos) << checked;

    const std::string header = Capture("ncdump -hs " + nc, status);
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
