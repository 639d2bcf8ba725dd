// CNetCdfExport: the records of many data files as one NetCDF-4 file following CF-1.8.
#pragma once

#include <ostream>
#include <string>

class CRecordIndex;

class CNetCdfExport {
public:
    explicit CNetCdfExport(const CRecordIndex& index) : m_index(index) {}

    // Writes path through a temporary file renamed over it. Returns the tool's exit code: 0; 1
    // when the files differ in grid, calibration or site; 2 when the file cannot be written.
    int Write(const std::string& path, std::ostream& err);

private:
    bool SameSetUp(std::ostream& err) const;

    const CRecordIndex& m_index;
};
