// A scripted pair of instruments for the sequence tests, served on a pseudo-terminal thread.
#include "tests/support/ScriptedInstrument.h"

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

ScriptedInstrument::Counts PeakCounts(int base, int peak) {
    ScriptedInstrument::Counts c;
    c.fill(static_cast<int16_t>(base));
    c[1000] = static_cast<int16_t>(peak);
    return c;
}

ScriptedInstrument::ScriptedInstrument() {
    counts = [](int, bool open) { return PeakCounts(open ? 9000 : 500, open ? 12000 : 500); };
    m_master = posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master < 0 || grantpt(m_master) != 0 || unlockpt(m_master) != 0) {
        return;
    }
    m_slavePath = ptsname(m_master);
    termios tio{};
    const int slave = ::open(m_slavePath.c_str(), O_RDWR | O_NOCTTY);
    if (slave >= 0) {
        tcgetattr(slave, &tio);
        cfmakeraw(&tio);
        tcsetattr(slave, TCSANOW, &tio);
        ::close(slave);
    }
    if (::pipe(m_stopPipe) != 0) {
        return;
    }
    m_thread = std::thread([this] { Serve(); });
}

ScriptedInstrument::~ScriptedInstrument() {
    if (m_thread.joinable()) {
        const char stop = 1;
        (void)::write(m_stopPipe[1], &stop, 1);
        m_thread.join();
    }
    for (int fd : {m_master, m_stopPipe[0], m_stopPipe[1]}) {
        if (fd >= 0) {
            ::close(fd);
        }
    }
}

std::vector<std::string> ScriptedInstrument::Requests() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_requests;
}

void ScriptedInstrument::ClearRequests() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_requests.clear();
}

bool ScriptedInstrument::Refused(const std::string& request) const {
    for (const std::string& prefix : refused) {
        if (request.rfind(prefix, 0) == 0) {
            return true;
        }
    }
    return false;
}

void ScriptedInstrument::Serve() {
    std::string pending;
    for (;;) {
        pollfd fds[2] = {{m_master, POLLIN, 0}, {m_stopPipe[0], POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0 || (fds[1].revents & POLLIN) != 0) {
            return;
        }
        if ((fds[0].revents & POLLIN) == 0) {
            // No program holds the line (POLLHUP on a master); wait for one to open it.
            ::poll(nullptr, 0, 5);
            continue;
        }
        char buffer[512];
        const ssize_t n = ::read(m_master, buffer, sizeof buffer);
        if (n <= 0) {
            continue;
        }
        pending.append(buffer, static_cast<size_t>(n));
        size_t cr;
        while ((cr = pending.find('\r')) != std::string::npos) {
            const std::string request = pending.substr(0, cr);
            pending.erase(0, cr + 1);
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                m_requests.push_back(request);
            }
            size_t blockBytes = 0;
            const std::string reply = Answer(request, blockBytes);
            if (!reply.empty()) {
                (void)::write(m_master, reply.data(), reply.size());
            }
        }
    }
}

std::string ScriptedInstrument::Answer(const std::string& request, size_t& blockBytes) {
    const bool band = !request.empty() && request[0] == '#';
    if (band ? bandSilent.load() : spectroSilent.load()) {
        return {};
    }
    if (request.empty() || request == "#") {
        return "ERR\r";  // both presence checks are answered by a refusal
    }
    if (Refused(request)) {
        return "ERR\r";
    }
    if (request == "#FH") {
        return std::to_string(motorSpeed) + ",OK\r";
    }
    if (request == "#SR") {
        return std::to_string(slewRate) + ",OK\r";
    }
    if (request.rfind("#FH,", 0) == 0 || request.rfind("#SR,", 0) == 0 || band) {
        return request == "#ID" || request == "#SER" || request == "#VER" ? "X,OK\r"
               : request == "#VTIME"                                      ? "D,T,OK\r"
                                                                          : "OK\r";
    }
    if (request == "SS") {
        return "3,24.5,1.5,2.5,3.5,OK\r";
    }
    if (request == "OP" || request == "CL") {
        m_shutterOpen = request == "OP";
        return "OK\r";
    }
    if (request.rfind("GM,", 0) == 0) {
        m_exposure = std::atoi(request.c_str() + 3);
        return "OK\r";
    }
    if (request == "RB,0") {
        const Counts c = counts(m_exposure, m_shutterOpen);
        std::string block(4096, '\0');
        for (int i = 0; i < 2048; ++i) {
            const auto v = static_cast<uint16_t>(c[static_cast<size_t>(i)]);
            block[static_cast<size_t>(2 * i)] = static_cast<char>(v & 0xFF);
            block[static_cast<size_t>(2 * i + 1)] = static_cast<char>(v >> 8);
        }
        blockBytes = block.size();
        return block + "OK\r";
    }
    if (request == "CALB") {
        blockBytes = 8192;
        std::string block(8192, '\0');
        const float one = 1.0f;
        for (int i = 0; i < 2048; ++i) {
            std::memcpy(&block[static_cast<size_t>(4 * i)], &one, 4);
        }
        return block + "OK\r";
    }
    if (request == "ID" || request == "SER" || request == "ST" || request == "FV") {
        return request == "ST" ? "TYPE-S,OK\r" : "V-" + request + ",OK\r";
    }
    if (request == "FT") {
        return "2024/01/05,12:00,OK\r";
    }
    if (request.size() == 2 && request[0] == 'C' && request[1] >= '0' && request[1] <= '5') {
        return request == "C0" ? "300,OK\r" : request == "C1" ? "0.4,OK\r" : "0,OK\r";
    }
    return "ERR\r";
}
