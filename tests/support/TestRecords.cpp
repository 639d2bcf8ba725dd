// Shared builders for the data tests.
#include "tests/support/TestRecords.h"

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>

void SetLinearGrid(CRadData& data) {
    CRadData::SetField(data.m_coef[0], "300");
    CRadData::SetField(data.m_coef[1], "0.5");
    data.UpdateWavelengths();
}

RADDATA FlatRecord(int diff, int exposure, int32_t time) {
    RADDATA r{};
    r.measTime = time;
    for (int m = 0; m < kSpectraPerRecord; ++m) {
        SPECDATA& s = r.spec[m];
        s.valid = 1;
        s.time = time + m;
        s.exposure = exposure;
        s.ssState = 7;
        s.temperature = 25.5f;
        for (int i = 0; i < kPixelCount; ++i) {
            s.dark[i] = 100;
            s.count[i] = static_cast<int16_t>(100 + diff);
        }
    }
    return r;
}

void FillSampleSet(CRadData& data, int records) {
    data.m_memo = "roof, north mast";
    CRadData::SetField(data.m_id, "KT-530");
    CRadData::SetField(data.m_serial, "SN0042");
    CRadData::SetField(data.m_type, "TYPE-A");
    CRadData::SetField(data.m_fwVersion, "1.07");
    CRadData::SetField(data.m_fwTime, "2024/01/05 12:00:00");
    SetLinearGrid(data);
    for (int i = 0; i < kPixelCount; ++i) {
        data.m_calib[i] = 1.0f + static_cast<float>(i) / 4096.0f;
    }
    data.m_longitude = 135.0;
    data.m_latitude = 35.0;
    for (int k = 0; k < records; ++k) {
        RADDATA r = FlatRecord(1000 + 10 * k, 100, 1718938800 + 600 * k);
        r.spec[3].count[5] = -32768;  // sign-extended on reading
        data.AddData(r);
    }
}

std::string DailyTextOf(CRadData& data, int records) {
    std::string text;
    for (int k = 0; k < records; ++k) {
        std::string block;
        data.Select(k, 0);
        if (!data.GetRecordText(block)) {
            return "record " + std::to_string(k) + " has no text block";
        }
        text += block + "\n";
    }
    return text;
}
