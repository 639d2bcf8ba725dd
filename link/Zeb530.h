// CZeb530: the instrument link: reply framing and the spectroradiometer and shadow-band commands.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "data/RadData.h"
#include "link/BandInfo.h"
#include "link/ISteadyClock.h"
#include "link/IWaitPump.h"
#include "link/PortMap.h"
#include "link/ReplyFields.h"
#include "link/Serial.h"

class IMessageBox;

class CZeb530 : public CSerial {
public:
    static constexpr int kReplySize = 256;
    static constexpr int kCountBlockBytes = 4096;
    static constexpr int kCalibBlockBytes = 8192;
    static constexpr uint32_t kBaudRate = 38400;
    static constexpr uint32_t kQueueSize = 4096;

    CZeb530();
    ~CZeb530() override;

    // Collaborators; each must outlive the link. Without a pump the link waits with its own
    // headless one, without a clock on the process's steady clock, without a message box
    // CheckBand fails silently.
    void SetWaitPump(IWaitPump* pump);
    void SetClock(const ISteadyClock* clock);
    void SetMessageBox(IMessageBox* messageBox);
    void SetPortMap(const CPortMap& portMap);
    IWaitPump& WaitPump() { return *m_pump; }
    const CPortMap& PortMap() const { return m_portMap; }

    // Framing shared by both instruments.
    int OpenPort(int n);
    void ClosePort();
    int SendCommand(const char* format, ...) __attribute__((format(printf, 2, 3)));
    // Characters received (> 0) once "OK\r" or "ERR\r" arrived; 0 when quitting; -1 on
    // time-out, on a reply longer than the buffer, or when the port was lost.
    int ReadReply(char* buffer, size_t size, int seconds);
    // count once all bytes arrived; 0 when quitting; -1 on time-out or a lost port.
    int ReadBlock(unsigned char* buffer, int count, int seconds);
    // 1 when a reply arrived whose last field is "OK" (its fields then in m_field), else 0.
    int Transact(int seconds);
    // Field k (1..9) of the last accepted reply; "" when there is no such field.
    const char* Field(int k) const;

    // Spectroradiometer.
    int CheckSpectro();
    int GetSensorInfo(CRadData& data);
    int GetCalibration(CRadData& data);
    int GetStatus(SPECDATA& spec);
    int Measure(int exposure, int second);
    int ReadCounts(int16_t (&counts)[kPixelCount], int block);
    int OpenShutter();
    int CloseShutter();
    // Whole seconds Measure waits for an exposure of the given milliseconds.
    static int MeasureTimeout(int exposure);

    // Shadow-band unit.
    int CheckBand();
    int GetBandInfo(BANDINFO& info);
    int GetMotorSpeed(int16_t& value);
    int SetMotorSpeed(int value);
    int GetSlewRate(int16_t& value);
    int SetSlewRate(int value);
    int MoveBand(double angle);
    int BandOrigin();

    char m_reply[kReplySize] = {};
    char* m_field[kReplyFieldSlots] = {};

private:
    // Sleeps in the pump; false (port closed when lost) when the wait must end now, with
    // result holding the value to return.
    bool WaitForBytes(ISteadyClock::TimePoint deadline, int& result);
    int CommandWithText(const char* command, char (&field)[kTextFieldSize], int seconds,
                        bool twoFields);
    int ReadValue16(const char* command, int16_t& value);
    void ShowBandError(bool timedOut);

    std::unique_ptr<IWaitPump> m_ownPump;
    IWaitPump* m_pump;
    const ISteadyClock* m_clock;
    IMessageBox* m_messageBox = nullptr;
    CPortMap m_portMap;
    int m_fieldCount = 0;
};
