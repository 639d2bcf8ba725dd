// The record text block and the count CSV, in local time and under a hostile numeric locale.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "data/CLocaleFormat.h"
#include "data/CountCsv.h"
#include "data/RadData.h"
#include "tests/support/ScopedTimeZone.h"
#include "tests/support/TestRecords.h"

namespace {

// Tokyo local time (no daylight saving) and a German numeric locale where one is installed.
class TextFormats : public ::testing::Test {
protected:
    ScopedTimeZone zone{"Asia/Tokyo"};
    CommaLocale comma;
};

// The first `lines` lines of text and its last line: the whole layout without every pixel.
std::string HeadAndLastLine(const std::string& text, int lines) {
    size_t end = 0;
    for (int k = 0; k < lines; ++k) {
        end = text.find('\n', end) + 1;
    }
    return text.substr(0, end) + "...\n" + text.substr(text.rfind('\n', text.size() - 2) + 1);
}

}  // namespace

TEST_F(TextFormats, NumbersKeepTheirDecimalPointUnderAGermanLocale) {
    if (!comma.Active()) {
        GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    }
    char native[32];
    std::snprintf(native, sizeof native, "%.1f", 3.5);
    EXPECT_STREQ(native, "3,5");  // the locale is really in force
    EXPECT_EQ(FormatC("%.1f %.4e", 3.5, 12345.678), "3.5 1.2346e+04");
    EXPECT_EQ(ParseDoubleC("2.25"), 2.25);
}

// Time, sun, a temperature that rounds to one decimal and every pixel of the four spectra. The
// text and the count CSV need a record with a convertible time.
TEST_F(TextFormats, RecordTextMatchesTheReferenceFile) {
    CRadData data;
    std::string text = "stale";
    EXPECT_FALSE(data.GetRecordText(text));
    EXPECT_TRUE(text.empty());
    EXPECT_FALSE(BuildCountCsv(data, 0, text));
    data.AddData(FlatRecord(10, 100, -1));
    data.Select(0, 0);
    EXPECT_FALSE(data.GetRecordText(text));
    EXPECT_FALSE(BuildCountCsv(data, 0, text));
    data.RemoveLast(1);
    FillSampleSet(data, 2);
    data.GetRecord(0)->spec[0].temperature = -3.25f;
    data.Select(0, 0);
    ASSERT_TRUE(data.GetRecordText(text));
    EXPECT_EQ(ReferenceMismatch(text, HALVO_TEST_DATA_DIR "/record_text_reference.txt"), "");
    EXPECT_EQ(data.m_curSpec, 3);
}

// Counts per second truncated by each column's own exposure: 2345 / 100 = 23, -150 / 100 = -1,
// 1500 / 1000 = 1; the fourth position was never measured.
TEST_F(TextFormats, CountCsvMatchesTheReferenceFile) {
    CRadData data;
    SetLinearGrid(data);
    RADDATA r = FlatRecord(0, 100);
    r.spec[0].count[0] = 100 + 2345;
    r.spec[1].count[0] = 100 - 150;
    r.spec[2].exposure = 1000;
    r.spec[2].count[0] = 100 + 1500;
    r.spec[3].exposure = 0;
    r.spec[1].temperature = 31.25f;
    data.AddData(r);
    std::string csv;
    ASSERT_TRUE(BuildCountCsv(data, 0, csv));
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 4 + kPixelCount);
    EXPECT_EQ(csv.find('\r'), std::string::npos);
    EXPECT_EQ(ReferenceMismatch(HeadAndLastLine(csv, 6), HALVO_AREA_DATA_DIR "/count-csv.txt"), "");
}
