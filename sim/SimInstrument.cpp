// CSimInstrument: the simulated spectroradiometer and shadow-band unit behind one serial line.
#include "sim/SimInstrument.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <vector>

#include "data/CLocaleFormat.h"
#include "sim/SimSky.h"

namespace {

constexpr double kPi = 3.141592653589793;
constexpr int kMaxExposure = 60000;
constexpr int kExposureOverheadMs = 15;  // read-out after the exposure
constexpr double kCalibScale = 0.0136;   // irradiance per count per second at full response
constexpr double kDarkBase = 1200.0;
constexpr double kReadNoise = 4.0;
constexpr double kElectronsPerCount = 2.0;
constexpr int kRequiredLimit = 32767;

// Wavelength polynomial coefficients C0..C5 as the instrument reports them.
constexpr const char* kCoefficients[6] = {"2.996000E+02", "3.915000E-01", "-1.000000E-06",
                                          "4.000000E-11", "0.000000E+00", "0.000000E+00"};
constexpr double kCoefficientValues[6] = {299.6, 0.3915, -1.0e-6, 4.0e-11, 0.0, 0.0};

struct FixedText {
    const char* request;
    const char* value;
};

// Identification texts; two-field values carry their own comma.
constexpr FixedText kIdentity[] = {{"ID", "KT-530"},
                                   {"SER", "53012345"},
                                   {"ST", "KT-530VN"},
                                   {"FV", "V1.07"},
                                   {"FT", "2023/04/18,10:22:31"},
                                   {"C0", kCoefficients[0]},
                                   {"C1", kCoefficients[1]},
                                   {"C2", kCoefficients[2]},
                                   {"C3", kCoefficients[3]},
                                   {"C4", kCoefficients[4]},
                                   {"C5", kCoefficients[5]},
                                   {"#ID", "RSB-200"},
                                   {"#SER", "B0417"},
                                   {"#VER", "V2.30"},
                                   {"#VTIME", "2022/11/02,09:15:00"}};

const char* IdentityText(const std::string& request) {
    for (const auto& entry : kIdentity) {
        if (request == entry.request) {
            return entry.value;
        }
    }
    return nullptr;
}

std::vector<std::string> SplitRequest(const std::string& request) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        const size_t comma = request.find(',', start);
        parts.push_back(request.substr(start, comma - start));
        if (comma == std::string::npos) {
            return parts;
        }
        start = comma + 1;
    }
}

template <typename T>
bool ParseWhole(const std::string& text, T& value) {
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    return !text.empty() && result.ec == std::errc() && result.ptr == end;
}

SIMREPLY Answer(std::string text) {
    SIMREPLY reply;
    reply.answered = true;
    reply.bytes = std::move(text);
    return reply;
}

SIMREPLY Ok() {
    return Answer("OK\r");
}
SIMREPLY Err() {
    return Answer("ERR\r");
}
SIMREPLY Value(const std::string& value) {
    return Answer(value + ",OK\r");
}

SIMREPLY Block(const std::vector<unsigned char>& block) {
    SIMREPLY reply = Answer(std::string(block.begin(), block.end()) + "OK\r");
    reply.blockBytes = block.size();
    return reply;
}

double Response(double nm) {
    const double x = (nm - 600.0) / 200.0;
    return 0.02 + std::exp(-0.5 * x * x);
}

}  // namespace

CSimInstrument::CSimInstrument(const SIMOPTIONS& options)
    : m_longitude(options.longitude),
      m_latitude(options.latitude),
      m_motorSpeed(options.motorSpeed),
      m_slewRate(options.slewRate),
      m_noise(options.seed),
      m_countsOverride(options.counts) {
    for (auto& level : m_darkLevel) {
        level = static_cast<float>(kDarkBase + 12.0 * m_noise.Normal());
    }
}

const char* CSimInstrument::Coefficient(int i) {
    return i >= 0 && i < 6 ? kCoefficients[i] : "";
}

double CSimInstrument::Wavelength(int pixel) {
    const double p = pixel;
    double sum = 0.0;
    for (int k = 5; k >= 0; --k) {
        sum = sum * p + kCoefficientValues[k];
    }
    return sum;
}

float CSimInstrument::Calibration(int index) {
    return static_cast<float>(kCalibScale / Response(Wavelength(index + 1)));
}

int CSimInstrument::MoveMs(double degrees, int speed, int slew) {
    const double distance = std::fabs(degrees);
    if (!(distance > 0.0)) {
        return 0;
    }
    const double rate = std::max(1.0, 18.0 * speed / 2500.0);  // degrees per second
    const double ramp = std::min(5.0, 0.05 * speed / std::max(1, slew));
    return static_cast<int>(std::min(600.0, distance / rate + ramp) * 1000.0);
}

SIMREPLY CSimInstrument::Handle(const std::string& request, int64_t utcSeconds,
                                const SIMFAULTS& faults, bool fast) {
    const bool band = !request.empty() && request[0] == '#';
    if (band ? faults.bandOff : faults.spectroOff) {
        return SIMREPLY{};
    }
    const std::string word = request.substr(0, request.find(','));
    const auto named = [&word](const std::vector<std::string>& words) {
        return std::find(words.begin(), words.end(), word) != words.end();
    };
    if (named(faults.ignored)) {
        return SIMREPLY{};
    }
    if (named(faults.refused)) {
        return Err();
    }
    return band ? Band(request, faults, fast) : Spectro(request, utcSeconds, fast);
}

double CSimInstrument::Temperature(int64_t utcSeconds) {
    const double day = static_cast<double>(utcSeconds % 86400) / 86400.0;
    return 25.0 + 2.5 * std::sin(2.0 * kPi * (day - 0.3)) + 0.05 * m_noise.Normal();
}

std::string CSimInstrument::StatusText(int64_t utcSeconds) {
    return FormatC("0,%.1f,%.2f,%.1f,%.1f", Temperature(utcSeconds), 12.0 + 0.02 * m_noise.Normal(),
                   m_shutterOpen ? 1.0 : 0.0, 38.0);
}

void CSimInstrument::Expose(int exposure, int64_t utcSeconds) {
    if (m_countsOverride) {
        m_countsOverride(exposure, m_shutterOpen, m_counts);
        return;
    }
    const CSimSky::SunState sun = CSimSky::Sun(utcSeconds, m_longitude, m_latitude);
    const double thermal = 0.04 * exposure * std::exp((Temperature(utcSeconds) - 25.0) / 10.0);
    for (int i = 0; i < kPixels; ++i) {
        const double light =
            m_shutterOpen ? CSimSky::Irradiance(Wavelength(i + 1), sun, BandAngle()) : 0.0;
        const double signal = light * exposure / (1000.0 * Calibration(i));
        const double noise =
            m_noise.Normal() * std::sqrt(kReadNoise * kReadNoise + signal / kElectronsPerCount);
        const double count =
            std::clamp(m_darkLevel[static_cast<size_t>(i)] + thermal + signal + noise, 0.0,
                       static_cast<double>(kCountCeiling));
        m_counts[static_cast<size_t>(i)] = static_cast<int16_t>(std::lround(count));
    }
}

SIMREPLY CSimInstrument::Spectro(const std::string& request, int64_t utcSeconds, bool fast) {
    const std::vector<std::string> part = SplitRequest(request);
    const std::string& word = part[0];
    if (part.size() == 1) {
        if (const char* text = IdentityText(word)) {
            return Value(text);
        }
        if (word == "SS") {
            return Value(StatusText(utcSeconds));
        }
        if (word == "OP" || word == "CL") {
            m_shutterOpen = word == "OP";
            return Ok();
        }
        if (word == "CALB") {
            std::vector<unsigned char> block;
            for (int i = 0; i < kPixels; ++i) {
                uint32_t bits = 0;
                const float value = Calibration(i);
                std::memcpy(&bits, &value, sizeof bits);
                for (int b = 0; b < 4; ++b) {
                    block.push_back(static_cast<unsigned char>(bits >> (8 * b)));
                }
            }
            return Block(block);
        }
        return Err();  // the bare carriage return of the presence check lands here
    }
    int exposure = 0;
    int second = 0;
    int block = 0;
    if (word == "GM" && part.size() == 4 && ParseWhole(part[1], exposure) &&
        ParseWhole(part[2], second) && part[3] == "1" && exposure > 0 && exposure <= kMaxExposure) {
        Expose(exposure, utcSeconds);
        SIMREPLY reply = Ok();
        reply.delayMs = fast ? 0 : exposure + kExposureOverheadMs;
        return reply;
    }
    if (word == "RB" && part.size() == 2 && ParseWhole(part[1], block) && block == 0) {
        std::vector<unsigned char> bytes;
        for (const int16_t count : m_counts) {
            const auto value = static_cast<uint16_t>(count);
            bytes.push_back(static_cast<unsigned char>(value & 0xFF));
            bytes.push_back(static_cast<unsigned char>(value >> 8));
        }
        return Block(bytes);
    }
    return Err();
}

SIMREPLY CSimInstrument::StartMove(double target, double extraSeconds, const SIMFAULTS& faults,
                                   bool fast) {
    const int moveMs = fast ? 0 : MoveMs(target - m_wireAngle, m_motorSpeed, m_slewRate);
    m_wireAngle = target;
    SIMREPLY reply = Ok();
    const double slow = std::clamp(faults.slowBand, 0.0, 3600.0);
    reply.delayMs = moveMs + static_cast<int>((slow + (fast ? 0.0 : extraSeconds)) * 1000.0);
    return reply;
}

SIMREPLY CSimInstrument::Band(const std::string& request, const SIMFAULTS& faults, bool fast) {
    const std::vector<std::string> part = SplitRequest(request);
    const std::string& word = part[0];
    if (part.size() == 1) {
        if (const char* text = IdentityText(word)) {
            return Value(text);
        }
        if (word == "#FH" || word == "#SR") {
            return Value(std::to_string(word == "#FH" ? m_motorSpeed : m_slewRate));
        }
        if (word == "#MO") {
            return StartMove(0.0, 1.0, faults, fast);
        }
        return Err();  // the bare "#" of the presence check lands here
    }
    int first = 0;
    int repeat = 0;
    if ((word == "#FH" || word == "#SR") && part.size() == 3 && ParseWhole(part[1], first) &&
        ParseWhole(part[2], repeat) && first == repeat && first > 0 && first <= kRequiredLimit) {
        (word == "#FH" ? m_motorSpeed : m_slewRate) = first;
        return Ok();
    }
    double target = 0.0;
    if (word == "#MP" && part.size() == 3 && ParseWhole(part[1], target) && part[2] == "0" &&
        std::fabs(target) <= 180.0) {
        return StartMove(target, 0.0, faults, fast);
    }
    return Err();
}
