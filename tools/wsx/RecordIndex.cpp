// Opening data files, listing their records by time and reading one record at a time.
#include "RecordIndex.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <sstream>
#include <thread>

#include "WsxTool.h"

CRecordIndex::~CRecordIndex() {
    for (const File& f : m_files) {
        if (f.fd >= 0) {
            ::close(f.fd);
        }
    }
}

// Files are opened and listed on all cores, each file by one thread: a listing reads four bytes
// of every record, a system call each, which for a month of records is tens of milliseconds
// before the first row. What is said on err and the first failure are those of opening the files
// one after another in the order given.
int CRecordIndex::Open(const std::vector<std::string>& paths, std::ostream& err) {
    struct Opened {
        File file;
        std::ostringstream said;
        int status = CWsxTool::kOk;
        std::vector<IndexedRecord> records;
    };
    std::vector<Opened> opened(paths.size());
    std::atomic<size_t> next{0};
    auto work = [&] {
        for (size_t i = next.fetch_add(1); i < paths.size(); i = next.fetch_add(1)) {
            Opened& o = opened[i];
            o.status = OpenFile(paths[i], o.file, o.said);
            if (o.status == CWsxTool::kOk) {
                ListRecords(o.file, static_cast<uint32_t>(i), o.records);
            }
        }
    };
    const unsigned cores = std::max(1u, std::min(16u, std::thread::hardware_concurrency()));
    std::vector<std::thread> threads;
    for (unsigned t = 1; t < std::min<size_t>(cores, paths.size()); ++t) {
        threads.emplace_back(work);
    }
    work();
    for (std::thread& t : threads) {
        t.join();
    }
    int status = CWsxTool::kOk;
    for (Opened& o : opened) {
        if (status != CWsxTool::kOk) {
            if (o.file.fd >= 0) {
                ::close(o.file.fd);
            }
            continue;
        }
        err << o.said.str();
        status = o.status;
        if (status == CWsxTool::kOk) {
            m_files.push_back(std::move(o.file));
            m_records.insert(m_records.end(), o.records.begin(), o.records.end());
        }
        std::vector<IndexedRecord>().swap(o.records);
    }
    if (status != CWsxTool::kOk) {
        return status;
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

int CRecordIndex::OpenFile(const std::string& path, File& file, std::ostream& err) {
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
void CRecordIndex::ListRecords(const File& f, uint32_t file, std::vector<IndexedRecord>& out) {
    out.reserve(f.records);
    for (uint32_t k = 0; k < f.records; ++k) {
        unsigned char p[4] = {};
        if (!ReadAt(f.fd, p, sizeof p, f.firstRecord + size_t{k} * kRadDataBytes)) {
            break;
        }
        const uint32_t bits = static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
                              (static_cast<uint32_t>(p[2]) << 16) |
                              (static_cast<uint32_t>(p[3]) << 24);
        out.push_back({static_cast<int32_t>(bits), file, k});
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
