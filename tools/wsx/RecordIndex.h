// CRecordIndex: the records of many data files in time order, read one record at a time.
#pragma once

#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "data/NonCopyable.h"
#include "data/RadData.h"

// One record of one file.
struct IndexedRecord {
    int64_t time;
    uint32_t file;
    uint32_t record;
};

// Byte images of consecutive records of one file, as the file holds them (see
// CRecordIndex::ReadRun); valid until the run is read again. The room is kept from run to run.
class CRecordRun {
public:
    // The image of the k-th record of the run (kRadDataBytes).
    const unsigned char* Image(size_t k) const { return m_first + k * kRadDataBytes; }

private:
    friend class CRecordIndex;

    const unsigned char* m_first = nullptr;
    std::vector<unsigned char> m_buffer;
};

// Days and years of files are read without holding their records: each file is opened, its
// header read and its time stamps listed; records are read one at a time or a run at a time
// when asked for (from any thread), so memory grows with the number of records by 16 bytes
// each, not by their 32900.
class CRecordIndex : CNonCopyable {
public:
    CRecordIndex() = default;
    ~CRecordIndex();

    // Opens every file. Returns the tool's exit code: 0, or 2 (a file missing or unreadable)
    // and 3 (not a data file) with a one-line message on err. A torn tail is reported on err and
    // the file read up to its last whole record.
    int Open(const std::vector<std::string>& paths, std::ostream& err);

    // Every record sorted by time; of records with the same time only the first (in the order
    // the files were given) is kept.
    const std::vector<IndexedRecord>& Records() const { return m_records; }
    int FileCount() const { return static_cast<int>(m_files.size()); }
    const CRadData& Header(uint32_t file) const { return *m_files[file].header; }
    const std::string& Path(uint32_t file) const { return m_files[file].path; }
    // Reads and decodes one record; buffer is the caller's scratch space. False when the file
    // no longer holds it (cut short since it was opened).
    bool Decode(const IndexedRecord& record, RADDATA& out,
                std::vector<unsigned char>& buffer) const;
    // Reads records [record, record + count) of a file, which must be listed, into run with
    // one read. False when the file no longer holds them all (cut short since it was opened).
    bool ReadRun(uint32_t file, uint32_t record, uint32_t count, CRecordRun& run) const;

private:
    struct File {
        std::string path;
        std::unique_ptr<CRadData> header;
        int fd = -1;
        size_t size = 0;
        size_t firstRecord = 0;
        uint32_t records = 0;
    };

    // Opens path into file, saying why not on err.
    static int OpenFile(const std::string& path, File& file, std::ostream& err);
    // The time stamps of file, which is the index's file number, appended to out.
    static void ListRecords(const File& f, uint32_t file, std::vector<IndexedRecord>& out);

    std::vector<File> m_files;
    std::vector<IndexedRecord> m_records;
};
