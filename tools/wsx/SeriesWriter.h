// CSeriesWriter: the "series" table, one CSV row per record of many files, computed on all cores.
#pragma once

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "data/NonCopyable.h"

class CQuantityWeights;
class CRecordComponents;
class CRecordIndex;
class CRecordRun;

class CSeriesWriter : CNonCopyable {
public:
    // utc: time stamps in UTC instead of local time.
    CSeriesWriter(const CRecordIndex& index, bool utc);
    ~CSeriesWriter();

    static std::string HeaderLine();
    // Writes the header and every row in time order. False (with a message on err, after the
    // rows before it) when a record's time cannot be converted.
    bool Write(std::ostream& out, std::ostream& err);

    // The ISO 8601 time stamp of the series: local with its UTC offset, or UTC with "Z".
    static bool FormatStamp(int64_t seconds, bool utc, std::string& out);

private:
    struct Block;
    // Rows of records [first, last) into block; false at a time that cannot be converted.
    void BuildBlock(Block& block, size_t first, size_t last, CRecordRun& run,
                    CRecordComponents& components) const;
    // One row from the record's time stamp, byte image and components.
    void AppendRow(std::string& out, const char* stamp, size_t stampLength,
                   const unsigned char* image, const CRecordComponents& components) const;

    const CRecordIndex& m_index;
    bool m_utc;
    // One set of weights per distinct wavelength grid, shared by the files that have it.
    std::vector<std::shared_ptr<const CQuantityWeights>> m_weights;
};
