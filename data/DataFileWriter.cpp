// Adding one record to a data file: in place when the header matches, else a whole rewrite.
#include "data/DataFileWriter.h"

#include <cstring>

#include "data/AtomicFile.h"

bool SameSensorType(const CRadData& a, const CRadData& b) {
    return std::strncmp(a.m_type, b.m_type, kTextFieldSize) == 0;
}

bool AddRecordToDataFile(const CRadData& header, const std::string& path, const RADDATA& record) {
    RemoveStaleTemporaries(path);
    const bool exists = FileExists(path);
    if (exists && header.AppendRecordInPlace(path.c_str(), record) == 1) {
        return true;
    }
    CRadData whole;
    if (exists) {
        whole.LoadFile(path.c_str());
    }
    whole.CopyHeader(header);
    return whole.AddData(record) >= 0 && whole.SaveFile(path.c_str()) == 1;
}
