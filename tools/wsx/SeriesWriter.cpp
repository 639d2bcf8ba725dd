// The "series" table: blocks of records turned into CSV rows by worker threads, written in order.
#include "SeriesWriter.h"

#include <algorithm>
#include <atomic>
#include <charconv>
#include <cmath>
#include <condition_variable>
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

const char* const kComponentNames[CRecordComponents::kComponentCount] = {
    "global", "diffuse", "direct_horizontal", "direct_normal"};

// Full precision, "%.9g" in the C locale; an undefined value is an empty field. to_chars is
// defined as exactly that conversion, without a locale, and is several times faster than
// snprintf, which matters at forty numbers a record.
void AppendNumber(std::string& out, double v) {
    out += ',';
    if (std::isfinite(v)) {
        char text[32];
        const auto result =
            std::to_chars(text, text + sizeof text, v, std::chars_format::general, 9);
        out.append(text, result.ptr);
    }
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
    struct tm time {};
    if (utc) {
        const time_t t = static_cast<time_t>(seconds);
        if (seconds < 0 || gmtime_r(&t, &time) == nullptr) {
            return false;
        }
        out = FormatTime("%Y-%m-%dT%H:%M:%SZ", time);
        return true;
    }
    if (!ToLocalTime(seconds, time)) {
        return false;
    }
    const long offset = time.tm_gmtoff;
    const long minutes = (offset < 0 ? -offset : offset) / 60;
    out = FormatTime("%Y-%m-%dT%H:%M:%S", time) +
          FormatC("%c%02ld:%02ld", offset < 0 ? '-' : '+', minutes / 60, minutes % 60);
    return true;
}

void CSeriesWriter::AppendRow(std::string& out, int64_t time, const RADDATA& record,
                              const CRecordComponents& c) const {
    std::string stamp;
    FormatStamp(time, m_utc, stamp);
    out += stamp;
    AppendNumber(out, c.m_elevation);
    AppendNumber(out, c.m_azimuth);
    AppendNumber(out, static_cast<double>(record.spec[0].temperature));
    for (const SPECDATA& s : record.spec) {
        AppendFormatC(out, ",%ld", static_cast<long>(s.exposure));
    }
    for (const SpectrumQuantities& q : c.m_component) {
        AppendNumber(out, q.par);
        AppendNumber(out, q.photon);
        AppendNumber(out, q.lum);
        AppendNumber(out, q.uva);
    }
    AppendFormatC(out, ",%u\n", static_cast<unsigned>(c.m_flags));
}

void CSeriesWriter::BuildBlock(Block& block, size_t first, size_t last, RADDATA& record,
                               CRecordComponents& components) const {
    const std::vector<IndexedRecord>& records = m_index.Records();
    std::string stamp;
    std::vector<unsigned char> buffer;
    for (size_t k = first; k < last; ++k) {
        const IndexedRecord& r = records[k];
        if (!FormatStamp(r.time, m_utc, stamp)) {
            block.error = "halvo-wsx: record " + std::to_string(r.record) + " of '" +
                          m_index.Path(r.file) + "' has a time that cannot be converted\n";
            return;
        }
        if (!m_index.Decode(r, record, buffer)) {
            block.error = "halvo-wsx: cannot read record " + std::to_string(r.record) + " of '" +
                          m_index.Path(r.file) + "'\n";
            return;
        }
        components.Compute(m_index.Header(r.file), *m_weights[r.file], record);
        AppendRow(block.text, r.time, record, components);
    }
}

// Workers take blocks in order and may run ahead of the writer by a window of blocks; the
// writer prints each block as soon as it and all before it are done.
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
        auto record = std::make_unique<RADDATA>();
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
            Block built;
            built.id = b;
            BuildBlock(built, b * kBlockRecords, std::min(total, (b + 1) * kBlockRecords), *record,
                       *components);
            {
                std::lock_guard lock(mutex);
                *slot = std::move(built);
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
        Block block;
        {
            std::unique_lock lock(mutex);
            Block& slot = slots[b % window];
            changed.wait(lock, [&] { return slot.ready && slot.id == b; });
            block = std::move(slot);
            slot = Block{};
        }
        out << block.text;
        if (!block.error.empty()) {
            err << block.error;
            ok = false;
        }
        {
            std::lock_guard lock(mutex);
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
