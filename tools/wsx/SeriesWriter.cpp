// The "series" table: blocks of records turned into CSV rows by worker threads, written in order.
#include "SeriesWriter.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <charconv>
#include <cmath>
#include <condition_variable>
#include <cstddef>
#include <cstring>
#include <ctime>
#include <mutex>
#include <thread>

#include "RecordIndex.h"
#include "data/CLocaleFormat.h"
#include "data/LocalTime.h"
#include "data/QuantityWeights.h"
#include "data/RecordComponents.h"

namespace {

// Records per block: large enough that handing blocks over costs nothing, small enough that the
// blocks in flight stay a few hundred kilobytes of text.
constexpr size_t kBlockRecords = 64;
constexpr unsigned kMaxWorkers = 16;
// Consecutive records of one file are read together, up to this many: half a megabyte, which
// stays in the processor's cache between the read and the sums.
constexpr uint32_t kRunRecords = 16;
// Room for one row: a time stamp, 19 numbers of at most 16 characters, 5 integers.
constexpr size_t kRowBytes = 512;

const char* const kComponentNames[CRecordComponents::kComponentCount] = {
    "global", "diffuse", "direct_horizontal", "direct_normal"};

// Full precision, "%.9g" in the C locale; an undefined value is an empty field. to_chars is
// defined as exactly that conversion, without a locale, and is several times faster than
// snprintf, which matters at forty numbers a record.
char* PutNumber(char* p, double v) {
    *p++ = ',';
    if (std::isfinite(v)) {
        p = std::to_chars(p, p + 32, v, std::chars_format::general, 9).ptr;
    }
    return p;
}

// ",%ld" and ",%u".
char* PutInteger(char* p, long v) {
    *p++ = ',';
    return std::to_chars(p, p + 24, v).ptr;
}

char* PutTwoDigits(char* p, long v) {
    p[0] = static_cast<char>('0' + v / 10 % 10);
    p[1] = static_cast<char>('0' + v % 10);
    return p + 2;
}

// strftime's "%Y-%m-%dT%H:%M:%S" without its locale look-ups.
char* PutCalendarTime(char* p, const struct tm& t) {
    p = std::to_chars(p, p + 12, t.tm_year + 1900).ptr;
    *p++ = '-';
    p = PutTwoDigits(p, t.tm_mon + 1);
    *p++ = '-';
    p = PutTwoDigits(p, t.tm_mday);
    *p++ = 'T';
    p = PutTwoDigits(p, t.tm_hour);
    *p++ = ':';
    p = PutTwoDigits(p, t.tm_min);
    *p++ = ':';
    return PutTwoDigits(p, t.tm_sec);
}

// The ISO 8601 stamp into p (at most 40 characters); nullptr when the time cannot be converted.
char* PutStamp(char* p, int64_t seconds, bool utc) {
    struct tm time {};
    if (utc) {
        const time_t t = static_cast<time_t>(seconds);
        if (seconds < 0 || gmtime_r(&t, &time) == nullptr) {
            return nullptr;
        }
        p = PutCalendarTime(p, time);
        *p++ = 'Z';
        return p;
    }
    if (!ToLocalTime(seconds, time)) {
        return nullptr;
    }
    p = PutCalendarTime(p, time);
    const long offset = time.tm_gmtoff;
    const long minutes = (offset < 0 ? -offset : offset) / 60;
    *p++ = offset < 0 ? '-' : '+';
    p = PutTwoDigits(p, minutes / 60);
    *p++ = ':';
    return PutTwoDigits(p, minutes % 60);
}

// Little-endian fields of a record's byte image.
uint32_t ImageBits(const unsigned char* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

const unsigned char* SpecImage(const unsigned char* image, int m) {
    return image + offsetof(RADDATA, spec) + static_cast<size_t>(m) * kSpecDataBytes;
}

unsigned WorkerCount(size_t blocks) {
    const unsigned cores = std::max(1u, std::min(kMaxWorkers, std::thread::hardware_concurrency()));
    return static_cast<unsigned>(std::min<size_t>(cores, std::max<size_t>(blocks, 1)));
}

}  // namespace

struct CSeriesWriter::Block {
    size_t id = 0;
    bool ready = false;
    std::string text;
    std::string error;
};

CSeriesWriter::CSeriesWriter(const CRecordIndex& index, bool utc) : m_index(index), m_utc(utc) {
    for (int f = 0; f < index.FileCount(); ++f) {
        const CRadData& header = index.Header(static_cast<uint32_t>(f));
        std::shared_ptr<const CQuantityWeights> shared;
        for (int g = 0; g < f && !shared; ++g) {
            if (m_weights[static_cast<size_t>(g)]->SameGrid(header)) {
                shared = m_weights[static_cast<size_t>(g)];
            }
        }
        m_weights.push_back(shared ? shared : std::make_shared<CQuantityWeights>(header));
    }
}

CSeriesWriter::~CSeriesWriter() = default;

std::string CSeriesWriter::HeaderLine() {
    std::string line =
        "time,elevation[deg],azimuth[deg],temperature[deg.C],exposure0[msec],exposure1[msec],"
        "exposure2[msec],exposure3[msec]";
    for (const char* name : kComponentNames) {
        line += FormatC(",PAR_%s[W/m2],PHOTON_%s[umol/m2/s],LUM_%s[lux],UV-A_%s[W/m2]", name, name,
                        name, name);
    }
    return line + ",flags\n";
}

bool CSeriesWriter::FormatStamp(int64_t seconds, bool utc, std::string& out) {
    char text[64];
    const char* end = PutStamp(text, seconds, utc);
    if (end == nullptr) {
        return false;
    }
    out.assign(text, static_cast<size_t>(end - text));
    return true;
}

void CSeriesWriter::AppendRow(std::string& out, const char* stamp, size_t stampLength,
                              const unsigned char* image, const CRecordComponents& c) const {
    char row[kRowBytes];
    std::memcpy(row, stamp, stampLength);
    char* p = row + stampLength;
    p = PutNumber(p, c.m_elevation);
    p = PutNumber(p, c.m_azimuth);
    const float temperature =
        std::bit_cast<float>(ImageBits(SpecImage(image, 0) + offsetof(SPECDATA, temperature)));
    p = PutNumber(p, static_cast<double>(temperature));
    for (int m = 0; m < kSpectraPerRecord; ++m) {
        const auto exposure =
            static_cast<int32_t>(ImageBits(SpecImage(image, m) + offsetof(SPECDATA, exposure)));
        p = PutInteger(p, exposure);
    }
    for (const SpectrumQuantities& q : c.m_component) {
        p = PutNumber(p, q.par);
        p = PutNumber(p, q.photon);
        p = PutNumber(p, q.lum);
        p = PutNumber(p, q.uva);
    }
    p = PutInteger(p, static_cast<long>(c.m_flags));
    *p++ = '\n';
    out.append(row, p);
}

// Runs of consecutive records of one file are read at once; a run that cannot be read is read
// record by record, so the rows before the first missing record are still made.
void CSeriesWriter::BuildBlock(Block& block, size_t first, size_t last, CRecordRun& run,
                               CRecordComponents& components) const {
    const std::vector<IndexedRecord>& records = m_index.Records();
    size_t k = first;
    while (k < last) {
        const IndexedRecord& head = records[k];
        uint32_t count = 1;
        while (k + count < last && count < kRunRecords && records[k + count].file == head.file &&
               records[k + count].record == head.record + count) {
            ++count;
        }
        const bool whole = m_index.ReadRun(head.file, head.record, count, run);
        for (uint32_t i = 0; i < count; ++i) {
            const IndexedRecord& r = records[k + i];
            char stamp[64];
            const char* stampEnd = PutStamp(stamp, r.time, m_utc);
            if (stampEnd == nullptr) {
                block.error = "halvo-wsx: record " + std::to_string(r.record) + " of '" +
                              m_index.Path(r.file) + "' has a time that cannot be converted\n";
                return;
            }
            if (!whole && !m_index.ReadRun(r.file, r.record, 1, run)) {
                block.error = "halvo-wsx: cannot read record " + std::to_string(r.record) +
                              " of '" + m_index.Path(r.file) + "'\n";
                return;
            }
            const unsigned char* image = run.Image(whole ? i : 0);
            components.ComputeQuantities(m_index.Header(r.file), *m_weights[r.file], image);
            AppendRow(block.text, stamp, static_cast<size_t>(stampEnd - stamp), image, components);
        }
        k += count;
    }
}

// Workers take blocks in order and may run ahead of the writer by a window of blocks, each
// building its block's text in the slot it will be written from; the writer prints each block
// as soon as it and all before it are done. The slots' text keeps its room from block to block.
bool CSeriesWriter::Write(std::ostream& out, std::ostream& err) {
    out << HeaderLine();
    const size_t total = m_index.Records().size();
    const size_t blocks = (total + kBlockRecords - 1) / kBlockRecords;
    const unsigned workers = WorkerCount(blocks);
    const size_t window = 2 * size_t{workers};
    std::vector<Block> slots(window);
    std::mutex mutex;
    std::condition_variable changed;
    std::atomic<size_t> next{0};
    size_t written = 0;
    bool stop = false;

    auto work = [&] {
        CRecordRun run;
        auto components = std::make_unique<CRecordComponents>();
        for (;;) {
            const size_t b = next.fetch_add(1);
            if (b >= blocks) {
                return;
            }
            Block* slot = nullptr;
            {
                std::unique_lock lock(mutex);
                changed.wait(lock, [&] { return stop || b < written + window; });
                if (stop) {
                    return;
                }
                slot = &slots[b % window];
            }
            // The slot is this worker's until it is marked ready: the writer is done with it.
            BuildBlock(*slot, b * kBlockRecords, std::min(total, (b + 1) * kBlockRecords), run,
                       *components);
            {
                std::lock_guard lock(mutex);
                slot->id = b;
                slot->ready = true;
            }
            changed.notify_all();
        }
    };
    std::vector<std::thread> threads;
    for (unsigned t = 0; t < workers; ++t) {
        threads.emplace_back(work);
    }
    bool ok = true;
    for (size_t b = 0; b < blocks && ok; ++b) {
        Block& slot = slots[b % window];
        {
            std::unique_lock lock(mutex);
            changed.wait(lock, [&] { return slot.ready && slot.id == b; });
        }
        // No worker touches a ready slot until written passes it.
        out.write(slot.text.data(), static_cast<std::streamsize>(slot.text.size()));
        if (!slot.error.empty()) {
            err << slot.error;
            ok = false;
        }
        slot.text.clear();
        slot.error.clear();
        {
            std::lock_guard lock(mutex);
            slot.ready = false;
            written = b + 1;
            stop = !ok;
        }
        changed.notify_all();
    }
    for (std::thread& t : threads) {
        t.join();
    }
    return ok;
}
