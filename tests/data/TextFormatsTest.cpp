// The record text block and the count CSV, in local time and under a hostile numeric locale.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <ctime>
#include <sstream>
#include <vector>

#include "data/CLocaleFormat.h"
#include "data/CountCsv.h"
#include "data/RadData.h"
#include "tests/support/ScopedTimeZone.h"
#include "tests/support/TestRecords.h"

namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

// Tokyo local time (no daylight saving) and a German numeric locale where one is installed.
class TextFormats : public ::testing::Test {
protected:
    ScopedTimeZone zone{"Asia/Tokyo"};
    CommaLocale comma;
    bool germanLocale = comma.Active();
};

}  // namespace

TEST_F(TextFormats, NumbersKeepTheirDecimalPointUnderAGermanLocale) {
    if (!germanLocale) {
        GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    }
    char native[32];
    std::snprintf(native, sizeof native, "%.1f", 3.5);
    EXPECT_STREQ(native, "3,5");  // the locale is really in force
    EXPECT_EQ(FormatC("%.1f %.4e", 3.5, 12345.678), "3.5 1.2346e+04");
    EXPECT_EQ(ParseDoubleC("2.25"), 2.25);
}

TEST_F(TextFormats, RecordTextMatchesTheReferenceFile) {
    CRadData data;
    FillSampleSet(data, 2);
    data.Select(0, 0);
    std::string text;
    ASSERT_TRUE(data.GetRecordText(text));
    EXPECT_EQ(text, ReadFileBytes(HALVO_TEST_DATA_DIR "/record_text_reference.txt"));
    EXPECT_EQ(data.m_curSpec, 3);
}

TEST_F(TextFormats, RecordTextLinesCarryTimeSunTemperatureAndIrradiance) {
    CRadData data;
    FillSampleSet(data, 1);
    data.GetRecord(0)->spec[0].temperature = -3.25f;
    data.Select(0, 0);
    std::string text;
    ASSERT_TRUE(data.GetRecordText(text));
    const auto lines = Lines(text);
    ASSERT_EQ(lines.size(), 2055u);
    EXPECT_EQ(lines[0], "YYYYMMDDHHMMSS 2024 06 21 12 00 00");
    EXPECT_EQ(lines[1], "Exposer Period[msec] 100");
    EXPECT_EQ(lines[2], "Azimuth -2.103");
    EXPECT_EQ(lines[3], "Elevation 78.429");
    EXPECT_EQ(lines[4], "Airmass 1.0201");
    EXPECT_EQ(lines[5], "Temp.[deg.C] -3.2");
    EXPECT_EQ(lines[6], "Wlen Irr1 Irr2 Irr3 Irr4");
    EXPECT_EQ(lines[7], "300.5 1.0000e+04 1.0000e+04 1.0000e+04 1.0000e+04");
    // Pixel 5 of spectrum 3 holds -32768 - 100 counts at calibration 1 + 5/4096.
    const double irr = static_cast<double>(-32868.0f * (1.0f + 5.0f / 4096.0f) / 100.0f) * 1000.0;
    EXPECT_EQ(lines[12],
              FormatC("303.0 %.4e %.4e %.4e %.4e", 10000.0 * (1.0f + 5.0f / 4096.0f),
                      10000.0 * (1.0f + 5.0f / 4096.0f), 10000.0 * (1.0f + 5.0f / 4096.0f), irr));
    EXPECT_EQ(lines[2054].substr(0, 7), "1324.0 ");
}

TEST_F(TextFormats, RecordTextNeedsASelectedRecordWithAConvertibleTime) {
    CRadData data;
    std::string text = "stale";
    EXPECT_FALSE(data.GetRecordText(text));
    EXPECT_TRUE(text.empty());
    data.AddData(FlatRecord(10, 100, -1));
    data.Select(0, 0);
    EXPECT_FALSE(data.GetRecordText(text));
    std::string csv;
    EXPECT_FALSE(BuildCountCsv(data, 0, csv));
}

TEST_F(TextFormats, CountCsvTruncatesEachColumnByItsOwnExposure) {
    CRadData data;
    SetLinearGrid(data);
    RADDATA r = FlatRecord(0, 100);
    r.spec[0].count[0] = 100 + 2345;  // 2345 / 100 = 23
    r.spec[1].count[0] = 100 - 150;   // -150 / 100 = -1
    r.spec[2].exposure = 1000;
    r.spec[2].count[0] = 100 + 1500;  // 1500 / 1000 = 1
    r.spec[3].exposure = 0;           // never measured
    r.spec[1].temperature = 31.25f;
    data.AddData(r);
    std::string csv;
    ASSERT_TRUE(BuildCountCsv(data, 0, csv));
    const auto lines = Lines(csv);
    ASSERT_EQ(lines.size(), 2052u);
    EXPECT_EQ(
        lines[0],
        "TIME,2024/06/21,12:00:00,2024/06/21,12:00:01,2024/06/21,12:00:02,2024/06/21,12:00:03");
    EXPECT_EQ(lines[1], "Exposer Period[msec],100,100,1000,0");
    EXPECT_EQ(lines[2], "Temp[degree C],25.5,31.2,25.5,25.5");
    EXPECT_EQ(lines[3], "Wavelength[nm],Count/sec[0],Count/sec[1],Count/sec[2],Count/sec[3]");
    EXPECT_EQ(lines[4], "300.5,2.3000e+04,-1.0000e+03,1.0000e+03,0.0000e+00");
    EXPECT_EQ(lines[5], "301.0,0.0000e+00,0.0000e+00,0.0000e+00,0.0000e+00");
    EXPECT_EQ(lines[2051].substr(0, 7), "1324.0,");
    EXPECT_EQ(csv.find('\r'), std::string::npos);
}

TEST_F(TextFormats, CountCsvRefusesAMissingRecord) {
    CRadData data;
    std::string csv;
    EXPECT_FALSE(BuildCountCsv(data, 0, csv));
}
