// CZeb530 against a scripted far end on a pseudo-terminal: requests, time-outs, reply handling.
#include "link/Zeb530.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "link/IMessageBox.h"
#include "tests/support/PtyPeer.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestPumps.h"

namespace {

using std::chrono::milliseconds;
using ::testing::_;

class MockMessageBox : public IMessageBox {
public:
    MOCK_METHOD(Answer, Show, (const std::string& text, Buttons buttons), (override));
};

using Texts = std::vector<std::string>;

std::string Block(size_t size, const std::string& head = {}) {
    std::string block(size, '\0');
    block.replace(0, head.size(), head);
    return block;
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
    void Reply(std::initializer_list<std::string> replies) {
        for (const std::string& reply : replies) {
            Reply(reply);
        }
    }
    std::string Sent() { return m_peer.Received(); }

    PtyPeer m_peer;
    FakeClock m_clock;
    ScriptedPump m_pump{m_clock};
    ::testing::StrictMock<MockMessageBox> m_box;
    CZeb530 m_link;
};

// "ERR\r" passes; any other reply or silence fails, and the band check then shows a message
// with the first three bytes in hex and the reply.
TEST_F(Zeb530Script, PresenceChecksPassOnlyOnExactErr) {
    const struct {
        const char* reply;  // nullptr: silence
        const char* message;
    } cases[] = {
        {"ERR\r", nullptr},
        {"OK\r", "ZEB Com. Error\n4F:4B:0D..(OK\r)"},
        {"KT-530,OK\r", "ZEB Com. Error\n4B:54:2D..(KT-530,OK\r)"},
        {"xERR\r", "ZEB Com. Error\n78:45:52..(xERR\r)"},
        {"O", "ZEB Com. Error\n(Timeout)\n4F:00:00..(O)"},
        {nullptr, "ZEB Com. Error\n(Timeout)\n00:00:00..()"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reply != nullptr ? c.reply : "silence");
        for (bool band : {false, true}) {
            const size_t sent = Sent().size();
            const int waits = m_pump.Waits();
            if (c.reply != nullptr) {
                Reply(c.reply);
            }
            if (band && c.message != nullptr) {
                EXPECT_CALL(m_box, Show(c.message, IMessageBox::Buttons::Ok));
            }
            EXPECT_EQ(band ? m_link.CheckBand() : m_link.CheckSpectro(), c.message != nullptr ? 0 : 1);
            EXPECT_EQ(Sent().substr(sent), band ? "#\r" : "\r");
            EXPECT_EQ(m_pump.Timeouts().at(waits), milliseconds(3000));
            ::testing::Mock::VerifyAndClearExpectations(&m_box);
        }
    }
}

// The reply buffer then holds only what this call received.
TEST_F(Zeb530Script, OkArrivingInPiecesCompletesOnlyWithCarriageReturn) {
    std::strcpy(m_link.m_reply, "stale text from before");
    Reply({"O", "K", "\r"});
    EXPECT_EQ(m_link.ReadReply(m_link.m_reply, sizeof m_link.m_reply, 2), 3);
    EXPECT_STREQ(m_link.m_reply, "OK\r");
    EXPECT_EQ(m_pump.Waits(), 3);
}

TEST_F(Zeb530Script, SensorInfoFillsIdentityAndWavelengthGrid) {
    Reply({"KT-530,OK\r", "53012345,OK\r", "KT-530VN,OK\r", "V1.07,OK\r",
           "2023/04/18,10:22:31,OK\r", "300,OK\r", "0.5,OK\r", "0,OK\r", "0,OK\r", "0,OK\r",
           "0,OK\r"});
    CRadData data;
    CommaLocale comma;
    ASSERT_EQ(m_link.GetSensorInfo(data), 1);
    EXPECT_EQ(Sent(), "ID\rSER\rST\rFV\rFT\rC0\rC1\rC2\rC3\rC4\rC5\r");
    EXPECT_EQ((Texts{data.m_id, data.m_serial, data.m_type, data.m_fwVersion, data.m_fwTime,
                     data.m_coef[1]}),
              (Texts{"KT-530", "53012345", "KT-530VN", "V1.07", "2023/04/18 10:22:31", "0.5"}));
    EXPECT_FLOAT_EQ(data.m_wavelength[0], 300.5f);
    EXPECT_FLOAT_EQ(data.m_wavelength[kPixelCount - 1], 1324.0f);
    EXPECT_EQ(m_pump.Timeouts(), std::vector<milliseconds>(11, milliseconds(3000)));
}

// "ERR" to "ID", silence after "SER", or an error after an overlong ID (cut to 31 characters):
// the fields read so far are kept and every later one is left untouched.
TEST_F(Zeb530Script, SensorInfoFailureKeepsWhatWasReadAndLeavesTheRest) {
    const struct {
        std::vector<std::string> replies;
        const char* sent;
        std::string id;
        const char* serial;
    } cases[] = {
        {{"ERR\r"}, "ID\r", "old id", "old serial"},
        {{"KT-530,OK\r", "53012345,OK\r"}, "ID\rSER\rST\r", "KT-530", "53012345"},
        {{std::string(40, 'A') + ",OK\r", "ERR\r"},
         "ID\rSER\r",
         std::string(31, 'A'),
         "old serial"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sent);
        CRadData data;
        CRadData::SetField(data.m_id, "old id");
        CRadData::SetField(data.m_serial, "old serial");
        CRadData::SetField(data.m_type, "old type");
        CRadData::SetField(data.m_coef[0], "1.0");
        for (const std::string& reply : c.replies) {
            Reply(reply);
        }
        const size_t before = m_peer.Received().size();
        EXPECT_EQ(m_link.GetSensorInfo(data), 0);
        EXPECT_EQ(m_peer.Received().substr(before), c.sent);
        EXPECT_EQ((Texts{data.m_id, data.m_serial, data.m_type, data.m_coef[0]}),
                  (Texts{c.id, c.serial, "old type", "1.0"}));
    }
}

TEST_F(Zeb530Script, MeasureWaitsExposureSecondsPlusFive) {
    const struct {
        int exposure;
        int timeoutMs;
    } cases[] = {{10, 5000}, {500, 5000}, {1000, 6000}, {2000, 7000}, {5000, 10000}};
    for (const auto& c : cases) {
        const int waitsBefore = m_pump.Waits();
        EXPECT_EQ(m_link.Measure(c.exposure, 0), 0);  // no answer: the wait runs to its end
        ASSERT_GT(m_pump.Waits(), waitsBefore);
        EXPECT_EQ(m_pump.Timeouts()[static_cast<size_t>(waitsBefore)], milliseconds(c.timeoutMs))
            << c.exposure << " ms";
    }
    EXPECT_EQ(Sent(), "GM,10,0,1\rGM,500,0,1\rGM,1000,0,1\rGM,2000,0,1\rGM,5000,0,1\r");
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

    std::string block(8192, '\0');
    const float first = 1.5f;
    const float last = -0.015625f;
    std::memcpy(&block[0], &first, 4);  // the test host is little-endian like the wire
    std::memcpy(&block[8188], &last, 4);
    Reply(block + "OK\r");
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

// Five fields fill the spectrum's status; fewer than five, or "ERR", fail and leave it as it was.
TEST_F(Zeb530Script, StatusNeedsFiveFields) {
    Reply({"1,23.5,1.25,-2.5,3.75,OK\r", "2,24.5,1.25,-2.5,OK\r", "ERR\r"});
    SPECDATA spec{};
    CommaLocale comma;
    ASSERT_EQ(m_link.GetStatus(spec), 1);
    EXPECT_EQ(m_pump.Timeouts().front(), milliseconds(5000));
    EXPECT_EQ(m_link.GetStatus(spec), 0);
    EXPECT_EQ(m_link.GetStatus(spec), 0);
    EXPECT_EQ(Sent(), "SS\rSS\rSS\r");
    EXPECT_EQ(spec.ssState, 1);
    EXPECT_EQ(
        (std::vector<float>{spec.temperature, spec.ssValue[0], spec.ssValue[1], spec.ssValue[2]}),
        (std::vector<float>{23.5f, 1.25f, -2.5f, 3.75f}));
}

TEST_F(Zeb530Script, BandRequestsCarryExactArguments) {
    const struct {
        std::function<int(CZeb530&)> call;
        const char* request;
        int timeoutMs;
    } cases[] = {
        {[](CZeb530& l) { return l.MoveBand(45.25); }, "#MP,-45.25000,0\r", 50000},
        {[](CZeb530& l) { return l.MoveBand(-135.0); }, "#MP,135.00000,0\r", 50000},
        {[](CZeb530& l) { return l.SetMotorSpeed(2500); }, "#FH,2500,2500\r", 5000},
        {[](CZeb530& l) { return l.SetSlewRate(200); }, "#SR,200,200\r", 5000},
        {[](CZeb530& l) { return l.BandOrigin(); }, "#MO\r", 20000},
        {[](CZeb530& l) { return l.OpenShutter(); }, "OP\r", 2000},
        {[](CZeb530& l) { return l.CloseShutter(); }, "CL\r", 2000},
    };
    CommaLocale comma;
    for (const auto& c : cases) {
        const size_t before = m_peer.Received().size();
        Reply("OK\r");
        EXPECT_EQ(c.call(m_link), 1) << c.request;
        EXPECT_EQ(m_peer.Received().substr(before), c.request);
        EXPECT_EQ(m_pump.Timeouts().back(), milliseconds(c.timeoutMs)) << c.request;
    }
}

TEST_F(Zeb530Script, MotorValuesAreReadAsSixteenBits) {
    Reply({"2500,OK\r", "70000,OK\r", "ERR\r"});
    int16_t value = 0;
    EXPECT_EQ(m_link.GetMotorSpeed(value), 1);
    EXPECT_EQ(value, 2500);
    EXPECT_EQ(m_link.GetSlewRate(value), 1);
    EXPECT_EQ(value, static_cast<int16_t>(70000 - 65536));
    value = 5;
    EXPECT_EQ(m_link.GetSlewRate(value), 0);
    EXPECT_EQ(value, 5);
    EXPECT_EQ(Sent(), "#FH\r#SR\r#SR\r");
}

TEST_F(Zeb530Script, BandInfoReadsFourTexts) {
    Reply({"RSB-200,OK\r", "B0417,OK\r", "V2.30,OK\r", "2022/11/02,09:15:00,OK\r"});
    BANDINFO info{};
    ASSERT_EQ(m_link.GetBandInfo(info), 1);
    EXPECT_EQ(Sent(), "#ID\r#SER\r#VER\r#VTIME\r");
    EXPECT_EQ((Texts{info.id, info.serial, info.version, info.versionTime}),
              (Texts{"RSB-200", "B0417", "V2.30", "2022/11/02 09:15:00"}));
}

TEST_F(Zeb530Script, OverlongReplyIsRefusedAndTheNextReplyReadsClean) {
    Reply({std::string(300, 'A'), ",OK\r"});
    EXPECT_EQ(m_link.Transact(3), 0);
    EXPECT_EQ(std::strlen(m_link.m_reply), 255u);
    Reply("42,OK\r");
    ASSERT_EQ(m_link.Transact(3), 1);
    EXPECT_STREQ(m_link.Field(1), "42");
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
