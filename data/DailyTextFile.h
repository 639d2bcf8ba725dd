// CDailyTextFile: the daily text file kept in step with the data file it is derived from.
#pragma once

#include <string>

#include "data/RadData.h"

class CDailyTextFile {
public:
    // Appends the text block of record to the text file at textPath. The blocks of that day's
    // records which the data file at dataPath holds and the text file lacks (a run killed
    // between the two writes) go first, in order. inDataFile says whether record was just
    // added as the data file's last record; header is the data file's header (grid,
    // calibration, site). False when a block cannot be built or written.
    bool Append(const std::string& textPath, const std::string& dataPath, CRadData& header,
                const RADDATA& record, bool inDataFile);

    // Record text blocks in a text file ("YYYYMMDDHHMMSS" lines); 0 when it cannot be read.
    static int CountBlocks(const std::string& textPath);

private:
    // The files as they were after the last write that left them agreeing.
    struct Agreed {
        std::string textPath;
        std::string dataPath;
        long long textBytes = -1;
        int records = -1;
    };

    bool StillAgree(const std::string& textPath, const std::string& dataPath, int records) const;
    static bool MissingBlocks(const std::string& textPath, const std::string& dataPath,
                              const RADDATA& record, bool inDataFile, std::string& text);

    Agreed m_agreed;
};
