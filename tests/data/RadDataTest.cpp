// The data set: record layout, adding, removing, selecting and the wavelength grid.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <iterator>
#include <vector>

#include "data/RadData.h"
#include "tests/support/TestRecords.h"

// Fields lie at their file offsets; decoding sign-extends counts and restores every field.
TEST(RadRecordLayout, FieldsLieAtTheirFileOffsetsAndDecodeBack) {
    RADDATA r = FlatRecord(1234, 500);
    r.measTime = 0x01020304;
    r.spec[2].exposure = 0x11223344;
    r.spec[0].count[0] = -2;
    r.spec[1].count[7] = -32768;
    r.spec[2].ssValue[2] = -1.5f;
    r.spec[3].dark[2047] = 0x1234;
    std::vector<unsigned char> bytes(kRadDataBytes);
    EncodeRecord(r, bytes.data());
    const size_t last = kRadDataBytes - 1;
    EXPECT_EQ((std::vector<int>{bytes[0], bytes[3], bytes[16460], bytes[16463], bytes[4 + 32],
                                bytes[4 + 33], bytes[last - 1], bytes[last]}),
              (std::vector<int>{0x04, 0x01, 0x44, 0x11, 0xFE, 0xFF, 0x34, 0x12}));
    RADDATA decoded{};
    DecodeRecord(bytes.data(), decoded);
    EXPECT_EQ(std::memcmp(&r, &decoded, sizeof r), 0);
}

TEST(RadData, RemoveLastKeepsSelectionInsideTheSet) {
    // Records removed, then the size, the current record and the result expected.
    const int cases[][4] = {{3, 0, 0, 1}, {1, 2, 1, 1}, {0, 3, 2, 1}, {5, 0, 0, 0}, {-1, 3, 2, 0}};
    for (const auto& c : cases) {
        CRadData data;
        FillSampleSet(data, 3);
        data.Select(2, 0);
        EXPECT_EQ(data.RemoveLast(c[0]), c[3] == 1) << c[0];
        EXPECT_EQ(data.GetSize(), c[1]) << c[0];
        EXPECT_EQ(data.m_curRecord, c[2]) << c[0];
    }
}

// A new set is empty with calibration 1 and no grid; CopyHeader takes identity, grid,
// calibration and site but not records; AddData stores a copy and returns its index; Select
// refuses a record outside the set.
TEST(RadData, NewSetCopiesAHeaderAndStoresCopiesOfRecords) {
    CRadData target;
    EXPECT_TRUE(target.m_memo.empty());
    for (int i = 0; i < kPixelCount; ++i) {
        ASSERT_EQ(target.m_wavelength[i], 0.0f);
        ASSERT_EQ(target.m_calib[i], 1.0f);
    }
    CRadData source;
    FillSampleSet(source, 2);
    source.m_version = 2.0;
    target.Select(0, 2);
    target.CopyHeader(source);
    EXPECT_EQ(target.m_memo, source.m_memo);
    EXPECT_STREQ(target.m_type, "TYPE-A");
    EXPECT_STREQ(target.m_coef[1], "0.5");
    EXPECT_EQ(target.m_wavelength[2047], 1324.0f);
    EXPECT_EQ(target.m_calib[100], source.m_calib[100]);
    EXPECT_EQ(target.m_latitude, 35.0);
    EXPECT_EQ(target.GetSize(), 0);
    EXPECT_EQ(target.m_version, 1.0);
    EXPECT_EQ(target.m_curSpec, 2);
    RADDATA r = FlatRecord(10, 100);
    EXPECT_EQ(target.AddData(r), 0);
    EXPECT_EQ(target.AddData(r), 1);
    r.spec[0].count[0] = 999;
    EXPECT_EQ(target.GetSize(), 2);
    EXPECT_EQ(target.GetRecord(1)->spec[0].count[0], 110);
    EXPECT_FALSE(target.Select(5, 0));  // stored, but outside the set
    EXPECT_EQ(target.m_curRecord, 5);
    EXPECT_EQ(target.m_curSpec, 0);
    EXPECT_EQ(target.GetIrradiance(500.0), 0.0);
    EXPECT_EQ(target.GetPAR(), 0.0);
    EXPECT_TRUE(target.Select(1, 3));
    EXPECT_EQ(target.GetRecord(2), nullptr);
    EXPECT_EQ(target.GetRecord(-1), nullptr);
}

// Pixel p (from 1) lies at C0 + C1 p + ... + C5 p^5: 290.1 + 410 - 12 + 0.1 at p = 1000.
TEST(RadData, WavelengthPolynomialUsesPixelNumberFromOne) {
    CRadData data;
    SetLinearGrid(data);
    EXPECT_EQ(data.m_wavelength[0], 300.5f);
    EXPECT_EQ(data.m_wavelength[2047], 1324.0f);
    CRadData::SetField(data.m_coef[0], "290.1");
    CRadData::SetField(data.m_coef[1], "0.41");
    CRadData::SetField(data.m_coef[2], "-1.2e-5");
    CRadData::SetField(data.m_coef[5], "1e-16");
    data.UpdateWavelengths();
    EXPECT_FLOAT_EQ(data.m_wavelength[999], 688.2f);
}

// A spectrum lit only inside the window, up to its ends, sums to the same four values as the
// full integrals, to the last bit, whichever integral range the window ends on.
TEST(RadData, IntegralsWithinAWindowAreTheFullIntegralsOfASpectrumDarkOutsideIt) {
    CRadData data;
    SetLinearGrid(data);
    std::fill(std::begin(data.m_calib), std::end(data.m_calib), 1.0f);
    const int windows[][2] = {{400, 450}, {650, 700}, {315, 330}, {380, 400}, {700, 780}};
    for (const auto& w : windows) {
        RADDATA r = FlatRecord(0, 1000);
        for (int i = 0; i < kPixelCount; ++i) {
            const double wl = data.m_wavelength[i];
            r.spec[0].count[i] = wl >= w[0] && wl <= w[1] ? static_cast<int16_t>(500 + i % 7) : 0;
            r.spec[0].dark[i] = 0;
        }
        data.AddData(r);
        data.Select(data.GetSize() - 1, 0);
        double within[4];
        data.GetIntegralsWithin(w[0], w[1], within);
        EXPECT_EQ(
            (std::vector<double>(within, within + 4)),
            (std::vector<double>{data.GetPAR(), data.GetPhoton(), data.GetLum(), data.GetUVA()}))
            << w[0] << "-" << w[1];
    }
}
