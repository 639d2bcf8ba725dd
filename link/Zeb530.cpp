// CZeb530: the instrument link: reply framing and the spectroradiometer and shadow-band commands.
#include "link/Zeb530.h"

#include <locale.h>

#include <array>
#include <bit>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

#include "data/CLocaleFormat.h"
#include "data/CLocaleScope.h"
#include "link/IMessageBox.h"
#include "link/PollWaitPump.h"
#include "link/ReplyFramer.h"
#include "link/SteadyClock.h"

namespace {

constexpr int kPresenceSeconds = 3;
constexpr int kTextSeconds = 3;
constexpr int kBlockSeconds = 10;
constexpr int kTailSeconds = 3;
constexpr int kStatusSeconds = 5;
constexpr int kShutterSeconds = 2;
constexpr int kMotorSeconds = 5;
constexpr int kMoveSeconds = 50;
constexpr int kOriginSeconds = 20;
constexpr int kStatusFields = 5;

}  // namespace

CZeb530::CZeb530()
    : m_ownPump(std::make_unique<CPollWaitPump>()),
      m_pump(m_ownPump.get()),
      m_clock(&CSteadyClock::Instance()) {}

CZeb530::~CZeb530() {
    Close();
}

void CZeb530::SetWaitPump(IWaitPump* pump) {
    m_pump = pump != nullptr ? pump : m_ownPump.get();
}

void CZeb530::SetClock(const ISteadyClock* clock) {
    m_clock = clock != nullptr ? clock : &CSteadyClock::Instance();
}

void CZeb530::SetMessageBox(IMessageBox* messageBox) {
    m_messageBox = messageBox;
}

void CZeb530::SetPortMap(const CPortMap& portMap) {
    m_portMap = portMap;
}

int CZeb530::OpenPort(int n) {
    const std::string device = m_portMap.DeviceName(n);
    if (device.empty()) {
        return 0;
    }
    return Open(device.c_str(), kBaudRate, 8, kNoParity, kOneStopBit, kQueueSize, kQueueSize);
}

void CZeb530::ClosePort() {
    Close();
}

int CZeb530::SendCommand(const char* format, ...) {
    char request[kReplySize];
    int n = 0;
    {
        const CLocaleScope cLocale;
        va_list args;
        va_start(args, format);
        // NOLINTNEXTLINE(clang-analyzer-valist.Uninitialized): started on the line above
        n = std::vsnprintf(request, sizeof request, format, args);
        va_end(args);
    }
    if (n < 0) {
        return 0;
    }
    const int length = static_cast<int>(std::strlen(request));
    return Write(request, length) != 0 ? length : 0;
}

bool CZeb530::WaitForBytes(ISteadyClock::TimePoint deadline, int& result) {
    result = -1;
    if (!IsOpen()) {
        return false;
    }
    switch (m_pump->Wait(Fd(), deadline)) {
        case IWaitPump::Result::Quit:
            result = 0;
            return false;
        case IWaitPump::Result::HangUp:
            PortLost();
            return false;
        case IWaitPump::Result::Ready:
            // Readable with nothing to read: a device that hung up; never wait on it again.
            if (InQueue() == 0 && CheckLost()) {
                return false;
            }
            break;
        case IWaitPump::Result::Deadline:
            break;
    }
    return m_clock->Now() < deadline;
}

int CZeb530::ReadReply(char* buffer, size_t size, int seconds) {
    const auto deadline = m_clock->Now() + std::chrono::seconds(seconds);
    if (buffer == nullptr || size == 0 || seconds <= 0) {
        return -1;
    }
    CReplyFramer framer(buffer, size);
    for (;;) {
        char c = 0;
        while (Read(&c, 1) == 1) {
            switch (framer.Push(c)) {
                case CReplyFramer::State::Complete:
                    return static_cast<int>(framer.Length());
                case CReplyFramer::State::Overflow:
                    return -1;
                case CReplyFramer::State::Incomplete:
                    break;
            }
        }
        int result = -1;
        if (!WaitForBytes(deadline, result)) {
            return result;
        }
    }
}

int CZeb530::ReadBlock(unsigned char* buffer, int count, int seconds) {
    const auto deadline = m_clock->Now() + std::chrono::seconds(seconds);
    if (buffer == nullptr || count <= 0 || seconds <= 0) {
        return -1;
    }
    int got = 0;
    for (;;) {
        int n = 0;
        while (got < count && (n = Read(buffer + got, count - got)) > 0) {
            got += n;
        }
        if (got == count) {
            return count;
        }
        int result = -1;
        if (!WaitForBytes(deadline, result)) {
            return result;
        }
    }
}

int CZeb530::Transact(int seconds) {
    std::memset(m_reply, 0, sizeof m_reply);
    m_fieldCount = 0;
    for (auto& field : m_field) {
        field = nullptr;
    }
    if (ReadReply(m_reply, sizeof m_reply, seconds) <= 0) {
        return 0;
    }
    m_fieldCount = CReplyFields::Split(m_reply, m_field);
    return CReplyFields::Accepted(m_field, m_fieldCount) ? 1 : 0;
}

const char* CZeb530::Field(int k) const {
    if (k < 1 || k >= kReplyFieldSlots || k > m_fieldCount || m_field[k] == nullptr) {
        return "";
    }
    return m_field[k];
}

int CZeb530::CommandWithText(const char* command, char (&field)[kTextFieldSize], int seconds,
                             bool twoFields) {
    SendCommand("%s", command);
    if (Transact(seconds) == 0) {
        return 0;
    }
    std::string text = Field(1);
    if (twoFields) {
        text += ' ';
        text += Field(2);
    }
    CRadData::SetField(field, text);
    return 1;
}

int CZeb530::CheckSpectro() {
    Purge();
    std::memset(m_reply, 0, sizeof m_reply);
    SendCommand("\r");
    const int n = ReadReply(m_reply, sizeof m_reply, kPresenceSeconds);
    return n > 0 && std::strcmp(m_reply, "ERR\r") == 0 ? 1 : 0;
}

int CZeb530::GetSensorInfo(CRadData& data) {
    if (CommandWithText("ID\r", data.m_id, kTextSeconds, false) == 0 ||
        CommandWithText("SER\r", data.m_serial, kTextSeconds, false) == 0 ||
        CommandWithText("ST\r", data.m_type, kTextSeconds, false) == 0 ||
        CommandWithText("FV\r", data.m_fwVersion, kTextSeconds, false) == 0 ||
        CommandWithText("FT\r", data.m_fwTime, kTextSeconds, true) == 0) {
        return 0;
    }
    for (int i = 0; i < kCoefCount; ++i) {
        SendCommand("C%d\r", i);
        if (Transact(kTextSeconds) == 0) {
            return 0;
        }
        CRadData::SetField(data.m_coef[i], Field(1));
    }
    data.UpdateWavelengths();
    return 1;
}

int CZeb530::GetCalibration(CRadData& data) {
    std::array<unsigned char, kCalibBlockBytes> block{};
    SendCommand("CALB\r");
    if (ReadBlock(block.data(), kCalibBlockBytes, kBlockSeconds) != kCalibBlockBytes) {
        return 0;
    }
    ReadReply(m_reply, sizeof m_reply, kTailSeconds);
    for (int i = 0; i < kPixelCount; ++i) {
        const unsigned char* b = &block[4 * static_cast<size_t>(i)];
        const uint32_t bits = static_cast<uint32_t>(b[0]) | static_cast<uint32_t>(b[1]) << 8 |
                              static_cast<uint32_t>(b[2]) << 16 | static_cast<uint32_t>(b[3]) << 24;
        data.m_calib[i] = std::bit_cast<float>(bits);
    }
    return 1;
}

int CZeb530::GetStatus(SPECDATA& spec) {
    SendCommand("SS\r");
    // Five values and the final "OK": a shorter status is refused and leaves spec unchanged.
    if (Transact(kStatusSeconds) == 0 || m_fieldCount < kStatusFields + 1) {
        return 0;
    }
    spec.ssState = CReplyFields::ToInt(Field(1));
    spec.temperature = CReplyFields::ToFloat(Field(2));
    for (int i = 0; i < 3; ++i) {
        spec.ssValue[i] = CReplyFields::ToFloat(Field(3 + i));
    }
    return 1;
}

int CZeb530::MeasureTimeout(int exposure) {
    return exposure / 1000 + 5;
}

int CZeb530::Measure(int exposure, int second) {
    SendCommand("GM,%d,%d,1\r", exposure, second);
    return Transact(MeasureTimeout(exposure));
}

int CZeb530::ReadCounts(int16_t (&counts)[kPixelCount], int block) {
    std::array<unsigned char, kCountBlockBytes> bytes{};
    SendCommand("RB,%d\r", block);
    if (ReadBlock(bytes.data(), kCountBlockBytes, kBlockSeconds) != kCountBlockBytes) {
        return 0;
    }
    ReadReply(m_reply, sizeof m_reply, kTailSeconds);
    for (int i = 0; i < kPixelCount; ++i) {
        const auto low = static_cast<uint16_t>(bytes[2 * static_cast<size_t>(i)]);
        const auto high = static_cast<uint16_t>(bytes[2 * static_cast<size_t>(i) + 1]);
        counts[i] = static_cast<int16_t>(static_cast<uint16_t>(low | high << 8));
    }
    return 1;
}

int CZeb530::OpenShutter() {
    SendCommand("OP\r");
    return Transact(kShutterSeconds);
}

int CZeb530::CloseShutter() {
    SendCommand("CL\r");
    return Transact(kShutterSeconds);
}

void CZeb530::ShowBandError(bool timedOut) {
    if (m_messageBox == nullptr) {
        return;
    }
    const auto byte = [this](int i) {
        return static_cast<unsigned>(static_cast<unsigned char>(m_reply[i]));
    };
    const std::string text = FormatC(timedOut ? "ZEB Com. Error\n(Timeout)\n%02X:%02X:%02X..(%s)"
                                              : "ZEB Com. Error\n%02X:%02X:%02X..(%s)",
                                     byte(0), byte(1), byte(2), m_reply);
    m_messageBox->Show(text, IMessageBox::Buttons::Ok);
}

int CZeb530::CheckBand() {
    Purge();
    std::memset(m_reply, 0, sizeof m_reply);
    SendCommand("#\r");
    if (ReadReply(m_reply, sizeof m_reply, kPresenceSeconds) <= 0) {
        ShowBandError(true);
        return 0;
    }
    if (std::strcmp(m_reply, "ERR\r") != 0) {
        ShowBandError(false);
        return 0;
    }
    return 1;
}

int CZeb530::GetBandInfo(BANDINFO& info) {
    return CommandWithText("#ID\r", info.id, kTextSeconds, false) != 0 &&
                   CommandWithText("#SER\r", info.serial, kTextSeconds, false) != 0 &&
                   CommandWithText("#VER\r", info.version, kTextSeconds, false) != 0 &&
                   CommandWithText("#VTIME\r", info.versionTime, kTextSeconds, true) != 0
               ? 1
               : 0;
}

int CZeb530::ReadValue16(const char* command, int16_t& value) {
    SendCommand("%s", command);
    if (Transact(kMotorSeconds) == 0) {
        return 0;
    }
    value = static_cast<int16_t>(CReplyFields::ToInt(Field(1)));
    return 1;
}

int CZeb530::GetMotorSpeed(int16_t& value) {
    return ReadValue16("#FH\r", value);
}

int CZeb530::GetSlewRate(int16_t& value) {
    return ReadValue16("#SR\r", value);
}

int CZeb530::SetMotorSpeed(int value) {
    SendCommand("#FH,%d,%d\r", value, value);
    return Transact(kMotorSeconds);
}

int CZeb530::SetSlewRate(int value) {
    SendCommand("#SR,%d,%d\r", value, value);
    return Transact(kMotorSeconds);
}

int CZeb530::MoveBand(double angle) {
    SendCommand("#MP,%.5f,0\r", -angle);
    return Transact(kMoveSeconds);
}

int CZeb530::BandOrigin() {
    SendCommand("#MO\r");
    return Transact(kOriginSeconds);
}
