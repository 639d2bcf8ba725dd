// CZeb530 against a scripted far end on a pseudo-terminal: requests, time-outs, reply handling.
#include "link/Zeb530.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/Fakes.h"
#include "tests/support/PtyPeer.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestPumps.h"

namespace {

using std::chrono::milliseconds;

std::string Block(size_t size, const std::string& head = {}) {
    std::string block(size, '\0');
    block.replace(0, head.size(), head);
    return block;
}

// The values as text, each followed by a space.
template <class... T>
std::string Join(const T&... values) {
    std::ostringstream out;
    ((out << values << ' '), ...);
    return out.str();
}

// GetSensorInfo over fields that held older values: its result and every field after it.
std::string SensorInfo(CZeb530& link) {
    CRadData d;
    CRadData::SetField(d.m_id, "old id");
    CRadData::SetField(d.m_serial, "old serial");
    CRadData::SetField(d.m_type, "old type");
    CRadData::SetField(d.m_coef[0], "1.0");
    const int result = link.GetSensorInfo(d);
    return Join(result, d.m_id, d.m_serial, d.m_type, d.m_fwVersion, d.m_fwTime, d.m_coef[0],
                d.m_coef[1], d.m_wavelength[0], d.m_wavelength[kPixelCount - 1]);
}

std::string Spectro(CZeb530& link) {
    return Join(link.CheckSpectro());
}

std::string Band(CZeb530& link) {
    return Join(link.CheckBand());
}

// A bare read of a reply: its result, the length kept and the first field.
std::string Reread(CZeb530& link) {
    const int result = link.Transact(3);
    return Join(result, std::strlen(link.m_reply), link.Field(1) != nullptr ? link.Field(1) : "-");
}

// Carriage returns and line feeds written out.
std::string Escaped(const std::string& text) {
    std::string out;
    for (const char c : text) {
        out += c == '\r' ? std::string("\\r") : c == '\n' ? std::string("\\n") : std::string(1, c);
    }
    return out;
}

std::string MotorSpeed(CZeb530& link) {
    int16_t value = 5;
    return Join(link.GetMotorSpeed(value), value);
}

std::string SlewRate(CZeb530& link) {
    int16_t value = 5;
    return Join(link.GetSlewRate(value), value);
}

std::string BandInfo(CZeb530& link) {
    BANDINFO info{};
    return Join(link.GetBandInfo(info), info.id, info.serial, info.version, info.versionTime);
}

std::string Status(CZeb530& link) {
    SPECDATA spec{0, 0, 0, 9, 9.0f, {}, {}, {}};  // a failure must leave state and temperature
    const int result = link.GetStatus(spec);
    return Join(result, spec.ssState, spec.temperature, spec.ssValue[0], spec.ssValue[1],
                spec.ssValue[2]);
}

class Zeb530Script : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_peer.Ok());
        m_link.SetClock(&m_clock);
        m_link.SetWaitPump(&m_pump);
        m_link.SetMessageBox(&m_box);
        ASSERT_EQ(m_link.Open(m_peer.SlavePath().c_str(), 38400, 8, 0, 0, 4096, 4096), 1);
    }
    // The far end answers the next wait with these bytes.
    // The reply arrives in pieces that fit the terminal's buffer, one piece per wait, so the
    // far end never blocks on a reader that is this same thread.
    void Reply(const std::string& bytes) {
        constexpr size_t kPiece = 1024;
        for (size_t at = 0; at < bytes.size(); at += kPiece) {
            const std::string piece = bytes.substr(at, kPiece);
            m_pump.Then([this, piece] { m_peer.Send(piece); });
        }
    }
    std::string Sent() { return m_peer.Received(); }

    PtyPeer m_peer;
    FakeClock m_clock;
    ScriptedPump m_pump{m_clock};
    FakeMessageBox m_box;
    CZeb530 m_link;
};

// The reply buffer then holds only what this call received.
TEST_F(Zeb530Script, OkArrivingInPiecesCompletesOnlyWithCarriageReturn) {
    std::strcpy(m_link.m_reply, "stale text from before");
    for (const char* piece : {"O", "K", "\r"}) {
        Reply(piece);
    }
    EXPECT_EQ(m_link.ReadReply(m_link.m_reply, sizeof m_link.m_reply, 2), 3);
    EXPECT_STREQ(m_link.m_reply, "OK\r");
    EXPECT_EQ(m_pump.Waits(), 3);
}

// Counts are signed 16-bit and calibration factors 32-bit floats, both little-endian; a block
// that ends short fails and leaves its target as it was.
TEST_F(Zeb530Script, BlocksAreLittleEndianAndShortOnesChangeNothing) {
    Reply(Block(4096, std::string("\x34\x12\xFF\xFF\x00\x80\xFF\x7F", 8)) + "OK\r");
    int16_t counts[kPixelCount];
    std::fill(std::begin(counts), std::end(counts), int16_t{7});
    ASSERT_EQ(m_link.ReadCounts(counts, 0), 1);
    EXPECT_EQ(std::vector<int16_t>(counts, counts + 5),
              (std::vector<int16_t>{4660, -1, -32768, 32767, 0}));
    EXPECT_EQ(counts[kPixelCount - 1], 0);
    EXPECT_EQ(m_pump.Timeouts().front(), milliseconds(10000));

    // 1.5 first and -2^-6 last, as the wire sends them
    Reply(Block(8188, std::string("\0\0\xC0\x3F", 4)) + std::string("\0\0\x80\xBC", 4) + "OK\r");
    const size_t waits = static_cast<size_t>(m_pump.Waits());
    CRadData data;
    ASSERT_EQ(m_link.GetCalibration(data), 1);
    EXPECT_EQ(m_pump.Timeouts().at(waits), milliseconds(10000));
    EXPECT_EQ((std::vector<float>{data.m_calib[0], data.m_calib[1], data.m_calib[kPixelCount - 1]}),
              (std::vector<float>{1.5f, 0.0f, -0.015625f}));

    Reply(Block(4000, "\x56\x78"));
    EXPECT_EQ(m_link.ReadCounts(counts, 0), 0);
    EXPECT_EQ(counts[0], 4660);
    Reply(std::string(8000, '\x01'));
    EXPECT_EQ(m_link.GetCalibration(data), 0);
    EXPECT_EQ(data.m_calib[0], 1.5f);
    EXPECT_EQ(data.m_calib[kPixelCount - 1], -0.015625f);
    EXPECT_EQ(Sent(), "RB,0\rCALB\rRB,0\rCALB\r");
}

// Every command against scripted replies, as a transcript of what was sent, the time-out of each
// wait, what the call returned and read and the messages shown, against
// data/zeb530-exchanges.txt. The presence checks pass only on "ERR\r"; any other reply or silence
// fails, and the band check then shows the first three bytes in hex and the reply. A reply too
// long for the buffer is refused and the next one reads clean. Sensor info: a
// full answer, "ERR" to "ID", silence after "SER", an error after an overlong ID (cut to 31
// characters): fields read so far are kept and later ones left as they were. Measure waits the
// exposure in seconds plus five. Status needs five fields. Band moves are negated; motor values
// are 16 bits.
TEST_F(Zeb530Script, EveryCommandMatchesTheReferenceTranscript) {
    struct Step {
        std::vector<std::string> replies;  // one per wait
        std::function<std::string(CZeb530&)> call;
    };
    std::vector<Step> steps;
    const std::vector<std::string> presenceReplies[] = {{"ERR\r"},  {"OK\r"}, {"KT-530,OK\r"},
                                                        {"xERR\r"}, {"O"},    {}};
    for (const auto& replies : presenceReplies) {
        steps.push_back({replies, Spectro});
        steps.push_back({replies, Band});
    }
    steps.insert(steps.end(), {{{std::string(300, 'A'), ",OK\r"}, Reread},
                               {{"42,OK\r"}, Reread},
                               {{"KT-530,OK\r", "53012345,OK\r", "KT-530VN,OK\r", "V1.07,OK\r",
                                 "2023/04/18,10:22:31,OK\r", "300,OK\r", "0.5,OK\r", "0,OK\r",
                                 "0,OK\r", "0,OK\r", "0,OK\r"},
                                SensorInfo},
                               {{"ERR\r"}, SensorInfo},
                               {{"KT-530,OK\r", "53012345,OK\r"}, SensorInfo},
                               {{std::string(40, 'A') + ",OK\r", "ERR\r"}, SensorInfo}});
    for (const int exposure : {10, 500, 1000, 2000, 5000}) {
        steps.push_back({{}, [exposure](CZeb530& l) { return Join(l.Measure(exposure, 0)); }});
    }
    steps.insert(
        steps.end(),
        {{{"1,23.5,1.25,-2.5,3.75,OK\r"}, Status},
         {{"2,24.5,1.25,-2.5,OK\r"}, Status},
         {{"ERR\r"}, Status},
         {{"OK\r"}, [](CZeb530& l) { return Join(l.MoveBand(45.25)); }},
         {{"OK\r"}, [](CZeb530& l) { return Join(l.MoveBand(-135.0)); }},
         {{"OK\r"}, [](CZeb530& l) { return Join(l.SetMotorSpeed(2500)); }},
         {{"OK\r"}, [](CZeb530& l) { return Join(l.SetSlewRate(200)); }},
         {{"OK\r"}, [](CZeb530& l) { return Join(l.BandOrigin()); }},
         {{"OK\r"}, [](CZeb530& l) { return Join(l.OpenShutter()); }},
         {{"OK\r"}, [](CZeb530& l) { return Join(l.CloseShutter()); }},
         {{"2500,OK\r"}, MotorSpeed},
         {{"70000,OK\r"}, SlewRate},
         {{"ERR\r"}, SlewRate},
         {{"RSB-200,OK\r", "B0417,OK\r", "V2.30,OK\r", "2022/11/02,09:15:00,OK\r"}, BandInfo}});
    CommaLocale comma;
    std::string transcript;
    for (const auto& step : steps) {
        const size_t sent = Sent().size();
        const size_t waits = m_pump.Timeouts().size();
        const size_t shown = m_box.shown.size();
        for (const std::string& reply : step.replies) {
            Reply(reply);
        }
        const std::string result = step.call(m_link);
        transcript += Escaped(Sent().substr(sent)) + "\t";
        for (size_t k = waits; k < m_pump.Timeouts().size(); ++k) {
            transcript += std::to_string(m_pump.Timeouts()[k].count()) + " ";
        }
        transcript += "\t" + result;
        for (size_t k = shown; k < m_box.shown.size(); ++k) {
            transcript += "\tshown " + Escaped(m_box.shown[k]);
        }
        transcript += "\n";
    }
    EXPECT_EQ(ReferenceMismatch(transcript, HALVO_AREA_DATA_DIR "/zeb530-exchanges.txt"), "");
}

TEST_F(Zeb530Script, HangUpInTheMiddleOfACountBlockClosesThePortAtOnce) {
    m_pump.Then([this] {
        m_peer.Send(std::string(1000, '\x10'));
        m_peer.HangUp();
    });
    int16_t counts[kPixelCount] = {};
    EXPECT_EQ(m_link.ReadCounts(counts, 0), 0);
    EXPECT_FALSE(m_link.IsOpen());
    EXPECT_EQ(m_link.Fd(), -1);
    EXPECT_EQ(counts[0], 0);
    const int waits = m_pump.Waits();
    EXPECT_EQ(waits, 1);
    // A lost port fails every later command without waiting at all.
    EXPECT_EQ(m_link.CheckSpectro(), 0);
    EXPECT_EQ(m_link.Transact(3), 0);
    EXPECT_EQ(m_pump.Waits(), waits);
}

// Time-outs below one fail at once; a quit request ends every wait with zero; a closed port
// refuses everything without waiting.
TEST_F(Zeb530Script, WaitsRefuseNonPositiveTimeOutsQuitRequestsAndClosedPorts) {
    EXPECT_EQ(m_link.ReadReply(m_link.m_reply, sizeof m_link.m_reply, 0), -1);
    unsigned char block[16];
    EXPECT_EQ(m_link.ReadBlock(block, 4, -1), -1);
    EXPECT_EQ(m_pump.Waits(), 0);
    m_pump.RequestQuit();
    EXPECT_EQ(m_link.ReadReply(m_link.m_reply, sizeof m_link.m_reply, 3), 0);
    EXPECT_EQ(m_link.ReadBlock(block, sizeof block, 10), 0);
    EXPECT_EQ(m_link.Transact(3), 0);
    EXPECT_TRUE(m_link.IsOpen());
    const int waits = m_pump.Waits();
    m_link.ClosePort();
    EXPECT_EQ(m_link.SendCommand("ID\r"), 0);
    EXPECT_EQ(m_link.ReadReply(m_link.m_reply, sizeof m_link.m_reply, 3), -1);
    EXPECT_EQ(m_pump.Waits(), waits);
}

}  // namespace
