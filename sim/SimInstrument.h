// CSimInstrument: the simulated spectroradiometer and shadow-band unit behind one serial line.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "sim/SimOptions.h"
#include "sim/SimRandom.h"
#include "sim/SimReply.h"

class CSimInstrument {
public:
    static constexpr int kPixels = 2048;
    static constexpr int kCountCeiling = 32767;  // the largest count the program reads
    static constexpr double kParkedAngle = -135.0;

    explicit CSimInstrument(const SIMOPTIONS& options);

    // Answers one request line (without its carriage return) at the simulated instant.
    // Band requests start with '#'; each instrument ignores the other's requests.
    SIMREPLY Handle(const std::string& request, int64_t utcSeconds, const SIMFAULTS& faults,
                    bool fast);

    // Band angle in the program's convention (the negative of the angle on the wire).
    double BandAngle() const { return -m_wireAngle; }
    int MotorSpeed() const { return m_motorSpeed; }
    int SlewRate() const { return m_slewRate; }
    bool ShutterOpen() const { return m_shutterOpen; }
    const std::array<int16_t, kPixels>& LastCounts() const { return m_counts; }

    // Milliseconds a band move over the given angle takes at a motor speed and slew rate.
    static int MoveMs(double degrees, int speed, int slew);
    // Wavelength of pixel p (1..2048) from the instrument's coefficients, nm.
    static double Wavelength(int pixel);
    // Calibration factor of pixel index i (0..2047): irradiance per count per second.
    static float Calibration(int index);
    static const char* Coefficient(int i);

private:
    SIMREPLY Spectro(const std::string& request, int64_t utcSeconds, bool fast);
    SIMREPLY Band(const std::string& request, const SIMFAULTS& faults, bool fast);
    SIMREPLY StartMove(double target, double extraSeconds, const SIMFAULTS& faults, bool fast);
    void Expose(int exposure, int64_t utcSeconds);
    double Temperature(int64_t utcSeconds);
    std::string StatusText(int64_t utcSeconds);

    double m_longitude;
    double m_latitude;
    int m_motorSpeed;
    int m_slewRate;
    double m_wireAngle = 135.0;  // parked, as the measurement program leaves it
    bool m_shutterOpen = false;
    CSimRandom m_noise;
    std::array<float, kPixels> m_darkLevel{};
    std::array<int16_t, kPixels> m_counts{};
    std::function<void(int, bool, std::array<int16_t, kPixels>&)> m_countsOverride;
};
