// The daily text file: blocks appended per slot, catching up with the data file after a crash.
#include "data/DailyTextFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <vector>

#include "data/AtomicFile.h"
#include "data/LocalTime.h"

namespace {

constexpr char kBlockStart[] = "YYYYMMDDHHMMSS";
constexpr size_t kBlockStartLength = sizeof kBlockStart - 1;

long long FileBytes(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? static_cast<long long>(st.st_size) : 0;
}

bool SameLocalDay(int64_t a, int64_t b) {
    struct tm ta {};
    struct tm tb {};
    return ToLocalTime(a, ta) && ToLocalTime(b, tb) && ta.tm_year == tb.tm_year &&
           ta.tm_yday == tb.tm_yday;
}

// The block of record i of set, built from the set's grid, calibration and site.
bool AppendBlock(CRadData& set, int i, std::string& text) {
    std::string block;
    if (!set.Select(i, 0) || !set.GetRecordText(block)) {
        return false;
    }
    text += block;
    text += '\n';
    return true;
}

}  // namespace

int CDailyTextFile::CountBlocks(const std::string& textPath) {
    const int fd = ::open(textPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return 0;
    }
    // Read in pieces; a marker split across two pieces is found in the carried-over tail.
    std::vector<char> buffer(1 << 20);
    size_t kept = 0;
    int blocks = 0;
    bool lineStart = true;
    for (;;) {
        const ssize_t n = ::read(fd, buffer.data() + kept, buffer.size() - kept);
        if (n <= 0) {
            break;
        }
        const size_t size = kept + static_cast<size_t>(n);
        size_t at = 0;
        for (; at + kBlockStartLength <= size; ++at) {
            if (lineStart && std::memcmp(buffer.data() + at, kBlockStart, kBlockStartLength) == 0) {
                ++blocks;
            }
            lineStart = buffer[at] == '\n';
        }
        kept = size - at;
        std::memmove(buffer.data(), buffer.data() + at, kept);
    }
    ::close(fd);
    return blocks;
}

bool CDailyTextFile::StillAgree(const std::string& textPath, const std::string& dataPath,
                                int records) const {
    return m_agreed.textPath == textPath && m_agreed.dataPath == dataPath &&
           m_agreed.records == records && m_agreed.textBytes == FileBytes(textPath);
}

// Blocks of the day's records of the data file past those the text file has; with inDataFile
// the record itself is the data file's last one and comes with them.
bool CDailyTextFile::MissingBlocks(const std::string& textPath, const std::string& dataPath,
                                   const RADDATA& record, bool inDataFile, std::string& text) {
    CRadData file;
    if (file.LoadFile(dataPath.c_str()) < 0) {
        return true;
    }
    std::vector<int> day;
    const int last = inDataFile ? file.GetSize() - 1 : file.GetSize();
    for (int i = 0; i < last; ++i) {
        if (SameLocalDay(file.GetRecord(i)->measTime, record.measTime)) {
            day.push_back(i);
        }
    }
    const int written = CountBlocks(textPath);
    for (size_t k = static_cast<size_t>(written); k < day.size(); ++k) {
        if (!AppendBlock(file, day[k], text)) {
            return false;
        }
    }
    return true;
}

bool CDailyTextFile::Append(const std::string& textPath, const std::string& dataPath,
                            CRadData& header, const RADDATA& record, bool inDataFile) {
    CRadData onDisk;
    const int records = onDisk.LoadHeader(dataPath.c_str());
    std::string text;
    const bool agreed = StillAgree(textPath, dataPath, inDataFile ? records - 1 : records);
    m_agreed = Agreed{};
    if (!agreed && !MissingBlocks(textPath, dataPath, record, inDataFile, text)) {
        return false;
    }
    header.AddData(record);
    if (!AppendBlock(header, header.GetSize() - 1, text) || !AppendTextFile(textPath, text)) {
        return false;
    }
    m_agreed = Agreed{textPath, dataPath, FileBytes(textPath), records};
    return true;
}
