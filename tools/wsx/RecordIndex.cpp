// Opening data files, listing their records by time and reading one record at a time.
#include "RecordIndex.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "WsxTool.h"

CRecordIndex::~CRecordIndex() {
    for (const File& f : m_files) {
        if (f.fd >= 0) {
            ::close(f.fd);
        }
    }
}

int CRecordIndex::Open(const std::vector<std::string>& paths, std::ostream& err) {
    for (const std::string& path : paths) {
        if (const int status = OpenFile(path, err); status != CWsxTool::kOk) {
            return status;
        }
        ListRecords(static_cast<uint32_t>(m_files.size() - 1));
    }
    std::stable_sort(
        m_records.begin(), m_records.end(),
        [](const IndexedRecord& a, const IndexedRecord& b) { return a.time < b.time; });
    m_records.erase(std::unique(m_records.begin(), m_records.end(),
                                [](const IndexedRecord& a, const IndexedRecord& b) {
                                    return a.time == b.time;
                                }),
                    m_records.end());
    return CWsxTool::kOk;
}

namespace {

bool ReadAt(int fd, void* out, size_t size, size_t offset);

}  // namespace

int CRecordIndex::OpenFile(const std::string& path, std::ostream& err) {
    File file;
    file.path = path;
    file.header = std::make_unique<CRadData>();
    const int count = file.header->LoadHeader(path.c_str());
    if (count == -2) {
        err << "halvo-wsx: cannot open '" << path << "'\n";
        return CWsxTool::kMissingFile;
    }
    if (count == -1) {
        err << "halvo-wsx: '" << path << "' is not a Halvo data file\n";
        return CWsxTool::kNotDataFile;
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        if (fd >= 0) {
            ::close(fd);
        }
        err << "halvo-wsx: cannot open '" << path << "'\n";
        return CWsxTool::kMissingFile;
    }
    file.fd = fd;
    file.size = static_cast<size_t>(st.st_size);
    file.firstRecord = static_cast<size_t>(file.header->m_recordOffset);
    // The file may have grown since its header was read (a slot being written): its size now
    // decides.
    file.records = count > 0 && file.size > file.firstRecord
                       ? static_cast<uint32_t>((file.size - file.firstRecord) / kRadDataBytes)
                       : 0;
    const size_t torn =
        file.size > file.firstRecord ? (file.size - file.firstRecord) % kRadDataBytes : 0;
    if (torn != 0) {
        err << "halvo-wsx: '" << path
            << "' ends in a torn record; read up to its last whole record (" << file.records
            << "), " << torn << " bytes ignored\n";
    }
    m_files.push_back(std::move(file));
    return CWsxTool::kOk;
}

namespace {

bool ReadAt(int fd, void* out, size_t size, size_t offset) {
    auto* p = static_cast<unsigned char*>(out);
    while (size > 0) {
        const ssize_t n = ::pread(fd, p, size, static_cast<off_t>(offset));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        p += n;
        size -= static_cast<size_t>(n);
        offset += static_cast<size_t>(n);
    }
    return true;
}

}  // namespace

// Only the four bytes of each time stamp are read here; the rest of a record is read once,
// when its row is made.
void CRecordIndex::ListRecords(uint32_t file) {
    const File& f = m_files[file];
    for (uint32_t k = 0; k < f.records; ++k) {
        unsigned char p[4] = {};
        if (!ReadAt(f.fd, p, sizeof p, f.firstRecord + size_t{k} * kRadDataBytes)) {
            break;
        }
        const uint32_t bits = static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
                              (static_cast<uint32_t>(p[2]) << 16) |
                              (static_cast<uint32_t>(p[3]) << 24);
        m_records.push_back({static_cast<int32_t>(bits), file, k});
    }
}

bool CRecordIndex::Decode(const IndexedRecord& record, RADDATA& out,
                          std::vector<unsigned char>& buffer) const {
    const File& f = m_files[record.file];
    buffer.resize(kRadDataBytes);
    if (!ReadAt(f.fd, buffer.data(), kRadDataBytes,
                f.firstRecord + size_t{record.record} * kRadDataBytes)) {
        return false;
    }
    DecodeRecord(buffer.data(), out);
    return true;
}

// One read for the run: the system copies it in one go, and the run (a few hundred kilobytes)
// is still in the processor's cache when its records are summed.
bool CRecordIndex::ReadRun(uint32_t file, uint32_t record, uint32_t count, CRecordRun& run) const {
    const File& f = m_files[file];
    const size_t bytes = size_t{count} * kRadDataBytes;
    if (run.m_buffer.size() < bytes) {
        run.m_buffer.resize(bytes);
    }
    run.m_first = run.m_buffer.data();
    return count > 0 &&
           ReadAt(f.fd, run.m_buffer.data(), bytes, f.firstRecord + size_t{record} * kRadDataBytes);
}
