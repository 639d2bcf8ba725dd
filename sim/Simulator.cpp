// CSimulator: the simulated instruments served on a pseudo-terminal by a thread of their own.
#include "sim/Simulator.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <system_error>
#include <utility>

#include "data/CLocaleFormat.h"

namespace {

constexpr size_t kMaxRequestLength = 1024;
constexpr size_t kMaxKeptRequests = 100000;
constexpr int kPaceBatch = 8;        // bytes handed over together when pacing (about 2 ms)
constexpr int kWriteStallMs = 5000;  // give up on a terminal nobody reads
constexpr int kRedialMs = 100;       // a dropped line comes back after this pause

int64_t SystemSeconds() {
    return static_cast<int64_t>(std::time(nullptr));
}

std::string Escaped(const std::string& text) {
    std::string out;
    for (const unsigned char c : text) {
        if (c >= 0x20 && c < 0x7F && c != '\\') {
            out += static_cast<char>(c);
        } else {
            out += FormatC("\\x%02X", c);
        }
    }
    return out;
}

std::string WallClockText() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    tm local{};
    localtime_r(&now.tv_sec, &local);
    char text[64];
    if (std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local) == 0) {
        text[0] = '\0';
    }
    return FormatC("%s.%03ld", text, now.tv_nsec / 1000000);
}

bool SetRaw(int fd) {
    termios tio{};
    if (tcgetattr(fd, &tio) != 0) {
        return false;
    }
    cfmakeraw(&tio);
    tio.c_cflag |= CLOCAL | CREAD;
    cfsetispeed(&tio, B38400);
    cfsetospeed(&tio, B38400);
    return tcsetattr(fd, TCSANOW, &tio) == 0;
}

}  // namespace

CSimulator::CSimulator(SIMOPTIONS options)
    : m_options(std::move(options)),
      m_faults(m_options.faults),
      m_instrument(m_options),
      m_faultRandom(m_options.seed ^ 0x5DEECE66DULL) {}

CSimulator::~CSimulator() {
    Stop();
}

bool CSimulator::Start() {
    if (m_running.load()) {
        return true;
    }
    m_stopping.store(false);
    m_stopFd = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (m_stopFd < 0 || !OpenLine()) {
        if (m_error.empty()) {
            m_error = std::string("cannot make a wake-up descriptor: ") + std::strerror(errno);
        }
        CloseLine();
        if (m_stopFd >= 0) {
            close(m_stopFd);
            m_stopFd = -1;
        }
        return false;
    }
    if (!m_options.logPath.empty()) {
        m_log = std::fopen(m_options.logPath.c_str(), "a");
        if (m_log == nullptr) {
            m_error = "cannot open the log " + m_options.logPath + ": " + std::strerror(errno);
            Stop();
            return false;
        }
    }
    m_running.store(true);
    m_thread = std::thread(&CSimulator::Serve, this);
    return true;
}

void CSimulator::Stop() {
    if (m_running.load()) {
        m_stopping.store(true);
        const uint64_t one = 1;
        [[maybe_unused]] const ssize_t n = write(m_stopFd, &one, sizeof one);
        m_thread.join();
        m_running.store(false);
    }
    CloseLine();
    if (m_stopFd >= 0) {
        close(m_stopFd);
        m_stopFd = -1;
    }
    if (m_log != nullptr) {
        (void)std::fclose(m_log);
        m_log = nullptr;
    }
}

bool CSimulator::OpenLine() {
    const int master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    char name[128] = {};
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0 ||
        ptsname_r(master, name, sizeof name) != 0) {
        m_error = std::string("cannot open a pseudo-terminal: ") + std::strerror(errno);
        if (master >= 0) {
            close(master);
        }
        return false;
    }
    const int slave = open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (slave < 0 || !SetRaw(slave)) {
        m_error = std::string("cannot set up ") + name + ": " + std::strerror(errno);
        if (slave >= 0) {
            close(slave);
        }
        close(master);
        return false;
    }
    m_master = master;
    m_heldSlave = slave;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_slavePath = name;
    }
    if (m_options.linkPath.empty()) {
        return true;
    }
    // Publish atomically: a program resolving the link sees the old or the new terminal.
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path link(m_options.linkPath);
    if (link.has_parent_path()) {
        fs::create_directories(link.parent_path(), ec);
    }
    const std::string temp = m_options.linkPath + ".new" + std::to_string(getpid());
    fs::remove(temp, ec);
    if (symlink(name, temp.c_str()) != 0 || rename(temp.c_str(), m_options.linkPath.c_str()) != 0) {
        m_error = "cannot publish " + m_options.linkPath + ": " + std::strerror(errno);
        fs::remove(temp, ec);
        return false;
    }
    return true;
}

void CSimulator::CloseLine() {
    if (m_heldSlave >= 0) {
        close(m_heldSlave);
        m_heldSlave = -1;
    }
    if (m_master >= 0) {
        close(m_master);
        m_master = -1;
    }
    std::string path;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        path = m_slavePath;
    }
    if (!m_options.linkPath.empty() && !path.empty()) {
        char target[256] = {};
        const ssize_t n = readlink(m_options.linkPath.c_str(), target, sizeof target - 1);
        if (n > 0 && path == std::string(target, static_cast<size_t>(n))) {
            unlink(m_options.linkPath.c_str());
        }
    }
}

void CSimulator::DropLine() {
    CloseLine();
    m_drops.fetch_add(1);
    if (SleepMs(kRedialMs) && !OpenLine()) {
        m_stopping.store(true);  // no terminal to serve on any more
    }
}

void CSimulator::SetFaults(const SIMFAULTS& faults) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_faults = faults;
}

SIMFAULTS CSimulator::Faults() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_faults;
}

bool CSimulator::Idle() const {
    if (m_delaying.load()) {
        return true;
    }
    if (m_handling.load()) {
        return false;
    }
    pollfd pending{m_master, POLLIN, 0};
    return m_master < 0 || poll(&pending, 1, 0) <= 0 || (pending.revents & POLLIN) == 0;
}

std::string CSimulator::SlavePath() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_slavePath;
}

std::vector<std::string> CSimulator::Requests() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_requests;
}

void CSimulator::ClearRequests() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_requests.clear();
}

double CSimulator::BandAngle() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_instrument.BandAngle();
}

int CSimulator::MotorSpeed() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_instrument.MotorSpeed();
}

int CSimulator::SlewRate() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_instrument.SlewRate();
}

std::chrono::steady_clock::time_point CSimulator::LastReplyEnd() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_lastReplyEnd;
}

int64_t CSimulator::SimulatedTime() const {
    return m_options.clock ? m_options.clock() : SystemSeconds();
}

void CSimulator::Serve() {
    std::string pending;
    while (!m_stopping.load()) {
        pollfd fds[2] = {{m_master, POLLIN, 0}, {m_stopFd, POLLIN, 0}};
        const int n = poll(fds, 2, -1);
        if (m_stopping.load() || (n < 0 && errno != EINTR)) {
            break;
        }
        if (n > 0 && (fds[0].revents & POLLIN) != 0) {
            m_handling.store(true);
            ReadRequests(pending);
            m_handling.store(false);
        } else if (n > 0 && (fds[0].revents & (POLLHUP | POLLERR)) != 0) {
            SleepMs(50);  // not expected while the held slave keeps the line up
        }
    }
}

void CSimulator::ReadRequests(std::string& pending) {
    char chunk[512];
    const ssize_t got = read(m_master, chunk, sizeof chunk);
    const int drops = m_drops.load();
    for (ssize_t i = 0; i < got && !m_stopping.load() && m_drops.load() == drops; ++i) {
        if (chunk[i] != '\r') {
            if (pending.size() < kMaxRequestLength) {
                pending += chunk[i];
            }
            continue;
        }
        const std::string request = std::exchange(pending, std::string());
        HandleRequest(request);
    }
    if (m_drops.load() != drops) {
        pending.clear();  // the line dropped: what was on it is lost
    }
}

CSimulator::FaultDraw CSimulator::DrawFaults(const SIMFAULTS& faults) {
    FaultDraw draw{};
    draw.silence = m_faultRandom.Chance(faults.silence);
    draw.err = m_faultRandom.Chance(faults.err);
    draw.split = m_faultRandom.Chance(faults.split);
    draw.garble = m_faultRandom.Chance(faults.garble);
    draw.shortBlock = m_faultRandom.Chance(faults.shortBlock);
    draw.dropLine = m_faultRandom.Chance(faults.dropLine);
    return draw;
}

void CSimulator::HandleRequest(const std::string& request) {
    const SIMFAULTS faults = Faults();
    const FaultDraw draw = DrawFaults(faults);
    SIMREPLY reply;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_requests.size() < kMaxKeptRequests) {
            m_requests.push_back(request);
        }
        reply = m_instrument.Handle(request, SimulatedTime(), faults, m_options.fast);
    }
    if (!reply.answered || draw.silence) {
        LogRequest(request, reply.answered ? " [fault: silence]" : " [no answer]");
        return;
    }
    LogRequest(request, draw.err ? " [fault: ERR]" : "");
    if (reply.delayMs > 0 && !m_options.fast) {
        m_busyMicros += static_cast<int64_t>(reply.delayMs) * 1000;
    }
    m_delaying.store(true);
    const bool waited = reply.delayMs <= 0 || SleepMs(reply.delayMs);
    m_delaying.store(false);
    if (!waited) {
        return;
    }
    if (draw.err) {
        reply.bytes = "ERR\r";
        reply.blockBytes = 0;
    }
    Deliver(std::move(reply), draw);
}

void CSimulator::Deliver(SIMREPLY reply, const FaultDraw& draw) {
    std::string& bytes = reply.bytes;
    if (draw.shortBlock && reply.blockBytes > 1) {
        bytes.resize(
            static_cast<size_t>(m_faultRandom.Between(1, static_cast<int>(reply.blockBytes) - 1)));
        LogLine("  fault: short block");
    }
    if (draw.garble && !bytes.empty()) {
        const int at = m_faultRandom.Between(0, static_cast<int>(bytes.size()) - 1);
        bytes[static_cast<size_t>(at)] ^= static_cast<char>(m_faultRandom.Between(1, 255));
        LogLine("  fault: garbled byte");
    }
    size_t end = bytes.size();
    if (draw.dropLine) {
        end = static_cast<size_t>(m_faultRandom.Between(0, static_cast<int>(bytes.size()) - 1));
        LogLine("  fault: line dropped");
    }
    const int pieces = draw.split ? m_faultRandom.Between(2, 4) : 1;
    if (pieces > 1) {
        LogLine("  fault: answer split into " + std::to_string(pieces) + " pieces");
    }
    size_t start = 0;
    for (int piece = 1; piece <= pieces && start < end; ++piece) {
        const size_t stop = piece == pieces ? end
                                            : static_cast<size_t>(m_faultRandom.Between(
                                                  static_cast<int>(start), static_cast<int>(end)));
        if (!WriteBytes(bytes.data() + start, stop - start)) {
            return;
        }
        if (!m_options.fast) {
            m_busyMicros += static_cast<int64_t>(stop - start) * 1000000 / kBytesPerSecond;
        }
        start = stop;
        if (piece < pieces && !SleepMs(m_options.fast ? m_faultRandom.Between(1, 5)
                                                      : m_faultRandom.Between(10, 60))) {
            return;
        }
    }
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_lastReplyEnd = std::chrono::steady_clock::now();
    }
    if (draw.dropLine) {
        DropLine();
    }
}

bool CSimulator::WriteNow(const char* data, size_t n) {
    size_t sent = 0;
    auto lastProgress = std::chrono::steady_clock::now();
    while (sent < n) {
        const ssize_t put = write(m_master, data + sent, n - sent);
        if (put > 0) {
            sent += static_cast<size_t>(put);
            lastProgress = std::chrono::steady_clock::now();
            continue;
        }
        if (put < 0 && errno != EAGAIN && errno != EINTR) {
            return false;
        }
        if (std::chrono::steady_clock::now() - lastProgress >
            std::chrono::milliseconds(kWriteStallMs)) {
            return false;  // nobody reads the line: the rest is lost
        }
        pollfd fds[2] = {{m_master, POLLOUT, 0}, {m_stopFd, POLLIN, 0}};
        if (poll(fds, 2, 100) > 0 && (fds[1].revents & POLLIN) != 0) {
            return false;
        }
    }
    return true;
}

bool CSimulator::WriteBytes(const char* data, size_t n) {
    if (m_options.fast) {
        return WriteNow(data, n);
    }
    // Each byte leaves when its ten bits would have gone down a 38400-baud line.
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    const auto byteTime = [start](size_t count) {
        return start +
               std::chrono::nanoseconds(static_cast<int64_t>(count) * 1000000000 / kBytesPerSecond);
    };
    size_t sent = 0;
    while (sent < n) {
        const size_t next = std::min(n, sent + kPaceBatch);
        if (!SleepUntil(byteTime(next)) || !WriteNow(data + sent, next - sent)) {
            return false;
        }
        sent = next;
    }
    return true;
}

bool CSimulator::SleepUntil(std::chrono::steady_clock::time_point when) {
    for (;;) {
        if (m_stopping.load()) {
            return false;
        }
        const auto left = when - std::chrono::steady_clock::now();
        if (left <= std::chrono::nanoseconds::zero()) {
            return true;
        }
        const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
        const timespec timeout{static_cast<time_t>(ns / 1000000000),
                               static_cast<long>(ns % 1000000000)};
        pollfd stop{m_stopFd, POLLIN, 0};
        ppoll(&stop, 1, &timeout, nullptr);
    }
}

bool CSimulator::SleepMs(int ms) {
    return SleepUntil(std::chrono::steady_clock::now() + std::chrono::milliseconds(ms));
}

void CSimulator::LogRequest(const std::string& request, const char* note) {
    LogLine((request.empty() ? std::string("(empty line)") : Escaped(request)) + note);
}

void CSimulator::LogLine(const std::string& text) {
    if (m_log == nullptr) {
        return;
    }
    (void)std::fprintf(m_log, "%s %s\n", WallClockText().c_str(), text.c_str());
    (void)std::fflush(m_log);
}
