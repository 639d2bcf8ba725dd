// halvo-sim: the simulated KT-530 spectroradiometer and shadow-band unit on a pseudo-terminal.
#include <getopt.h>
#include <signal.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include "data/CLocaleFormat.h"
#include "sim/Simulator.h"

namespace {

const char kUsage[] =
    "Usage: halvo-sim [options]\n"
    "Simulates the KT-530 spectroradiometer and the rotating shadow-band unit on one\n"
    "pseudo-terminal, answering both command sets at 38400 baud until interrupted\n"
    "(Ctrl+C, SIGTERM).\n"
    "\n"
    "Line:\n"
    "  --link PATH         publish the terminal as a symbolic link at PATH, for example\n"
    "                      build/bin/ports/COM1 for port 1 of the program in build/bin\n"
    "  --fast              answer at once: no exposure or band-move times and no 38400-baud\n"
    "                      pacing (for tests)\n"
    "  --log FILE          append every request, with the time it arrived, to FILE\n"
    "\n"
    "Instruments and sky:\n"
    "  --seed N            seed of the noise and the fault draws (default 1); a run repeats\n"
    "                      exactly for the same seed and requests\n"
    "  --longitude DEG     site of the simulated sky, east positive (default 135.0)\n"
    "  --latitude DEG      north positive (default 35.0)\n"
    "  --time WHEN         simulated UTC time at start, YYYY-MM-DDTHH:MM:SS or seconds since\n"
    "                      1970; it runs on from there (default: the system clock)\n"
    "  --speed N           band motor speed at power-on (default 1000)\n"
    "  --slew N            band motor slew rate at power-on (default 100)\n"
    "\n"
    "Faults (P is a probability per request, 0 to 1):\n"
    "  --spectro-off       the spectroradiometer never answers\n"
    "  --band-off          the shadow-band unit never answers\n"
    "  --silence P         a request goes unanswered\n"
    "  --err P             the answer is \"ERR\" instead of the real one\n"
    "  --split P           the answer comes in two to four pieces with pauses between\n"
    "  --garble P          one byte of the answer is corrupted\n"
    "  --short-block P     a raw block (\"RB\", \"CALB\") stops short, without its tail\n"
    "  --drop-line P       the line drops in the middle of an answer: the terminal closes\n"
    "                      and a new one is published at the link path 0.1 s later\n"
    "  --slow-band SEC     every band move and origin search takes SEC seconds longer\n"
    "                      (also with --fast)\n"
    "  --refuse CMD        the command CMD (its word before the first comma: GM, #MP, CALB)\n"
    "                      is always answered \"ERR\"; repeat for more commands\n"
    "  --ignore CMD        the command CMD is never answered; repeat for more commands\n"
    "  --faults-after SEC  inject the faults above only after SEC seconds (let the program\n"
    "                      set the instruments up first)\n"
    "  --faults-for SEC    end the faults SEC seconds after they began (an instrument that\n"
    "                      comes back)\n"
    "\n"
    "  --help              show this text\n";

enum Option {
    kLink = 256,
    kFast,
    kLog,
    kSeed,
    kLongitude,
    kLatitude,
    kTime,
    kSpeed,
    kSlew,
    kSpectroOff,
    kBandOff,
    kSilence,
    kErr,
    kSplit,
    kGarble,
    kShortBlock,
    kDropLine,
    kSlowBand,
    kRefuse,
    kIgnore,
    kFaultsAfter,
    kFaultsFor,
    kHelp
};

const option kOptions[] = {{"link", required_argument, nullptr, kLink},
                           {"fast", no_argument, nullptr, kFast},
                           {"log", required_argument, nullptr, kLog},
                           {"seed", required_argument, nullptr, kSeed},
                           {"longitude", required_argument, nullptr, kLongitude},
                           {"latitude", required_argument, nullptr, kLatitude},
                           {"time", required_argument, nullptr, kTime},
                           {"speed", required_argument, nullptr, kSpeed},
                           {"slew", required_argument, nullptr, kSlew},
                           {"spectro-off", no_argument, nullptr, kSpectroOff},
                           {"band-off", no_argument, nullptr, kBandOff},
                           {"silence", required_argument, nullptr, kSilence},
                           {"err", required_argument, nullptr, kErr},
                           {"split", required_argument, nullptr, kSplit},
                           {"garble", required_argument, nullptr, kGarble},
                           {"short-block", required_argument, nullptr, kShortBlock},
                           {"drop-line", required_argument, nullptr, kDropLine},
                           {"slow-band", required_argument, nullptr, kSlowBand},
                           {"refuse", required_argument, nullptr, kRefuse},
                           {"ignore", required_argument, nullptr, kIgnore},
                           {"faults-after", required_argument, nullptr, kFaultsAfter},
                           {"faults-for", required_argument, nullptr, kFaultsFor},
                           {"help", no_argument, nullptr, kHelp},
                           {nullptr, 0, nullptr, 0}};

bool ParseNumber(const char* text, double low, double high, double& value) {
    const char* end = text;
    value = ParseDoubleC(text, &end);
    return end != text && *end == '\0' && value >= low && value <= high;
}

bool ParseTime(const char* text, int64_t& seconds) {
    tm t{};
    char tail = '\0';
    const int n = std::sscanf(text, "%d-%d-%dT%d:%d:%d%c", &t.tm_year, &t.tm_mon, &t.tm_mday,
                              &t.tm_hour, &t.tm_min, &t.tm_sec, &tail);
    if (n == 6 || (n == 7 && tail == 'Z')) {
        t.tm_year -= 1900;
        t.tm_mon -= 1;
        const time_t value = timegm(&t);
        seconds = static_cast<int64_t>(value);
        return value != static_cast<time_t>(-1);
    }
    double value = 0.0;
    if (!ParseNumber(text, 0.0, 4.0e9, value)) {
        return false;
    }
    seconds = static_cast<int64_t>(value);
    return true;
}

// Applies one option; false with a message when its value is not acceptable.
bool ApplyOption(int code, const char* arg, SIMOPTIONS& options) {
    double value = 0.0;
    SIMFAULTS& faults = options.faults;
    double* probability = nullptr;
    switch (code) {
        case kLink:
            options.linkPath = arg;
            return true;
        case kFast:
            options.fast = true;
            return true;
        case kLog:
            options.logPath = arg;
            return true;
        case kSpectroOff:
            faults.spectroOff = true;
            return true;
        case kBandOff:
            faults.bandOff = true;
            return true;
        case kSeed:
            if (!ParseNumber(arg, 0.0, 9.0e15, value))
                break;
            options.seed = static_cast<uint64_t>(value);
            return true;
        case kLongitude:
            if (!ParseNumber(arg, -180.0, 180.0, options.longitude))
                break;
            return true;
        case kLatitude:
            if (!ParseNumber(arg, -90.0, 90.0, options.latitude))
                break;
            return true;
        case kTime: {
            int64_t start = 0;
            if (!ParseTime(arg, start))
                break;
            const auto origin = std::chrono::steady_clock::now();
            options.clock = [start, origin] {
                const auto elapsed = std::chrono::steady_clock::now() - origin;
                return start + std::chrono::duration_cast<std::chrono::seconds>(elapsed).count();
            };
            return true;
        }
        case kSpeed:
        case kSlew:
            if (!ParseNumber(arg, 1.0, 32767.0, value))
                break;
            (code == kSpeed ? options.motorSpeed : options.slewRate) = static_cast<int>(value);
            return true;
        case kSlowBand:
            if (!ParseNumber(arg, 0.0, 3600.0, faults.slowBand))
                break;
            return true;
        case kRefuse:
        case kIgnore:
            (code == kRefuse ? faults.refused : faults.ignored).emplace_back(arg);
            return true;
        case kSilence:
            probability = &faults.silence;
            break;
        case kErr:
            probability = &faults.err;
            break;
        case kSplit:
            probability = &faults.split;
            break;
        case kGarble:
            probability = &faults.garble;
            break;
        case kShortBlock:
            probability = &faults.shortBlock;
            break;
        case kDropLine:
            probability = &faults.dropLine;
            break;
        default:
            return false;
    }
    if (probability != nullptr && ParseNumber(arg, 0.0, 1.0, *probability)) {
        return true;
    }
    for (const option& entry : kOptions) {
        if (entry.val == code) {
            (void)std::fprintf(stderr, "halvo-sim: bad value \"%s\" for --%s\n", arg, entry.name);
        }
    }
    return false;
}

// A stop signal that came within the given seconds, or 0 when none did.
int WaitForSignal(const sigset_t& signals, double seconds) {
    const auto whole = static_cast<time_t>(seconds);
    const timespec wait{whole, static_cast<long>((seconds - static_cast<double>(whole)) * 1e9)};
    const int signal = sigtimedwait(&signals, nullptr, &wait);
    return signal < 0 ? 0 : signal;
}

}  // namespace

int main(int argc, char** argv) {
    SIMOPTIONS options;
    double faultsAfter = 0.0;
    double faultsFor = 0.0;
    int code = 0;
    while ((code = getopt_long(argc, argv, "h", kOptions, nullptr)) != -1) {
        if (code == kHelp || code == 'h') {
            (void)std::fputs(kUsage, stdout);
            return 0;
        }
        if (code == kFaultsAfter && ParseNumber(optarg, 0.0, 86400.0, faultsAfter)) {
            continue;
        }
        if (code == kFaultsFor && ParseNumber(optarg, 0.0, 86400.0, faultsFor)) {
            continue;
        }
        if (!ApplyOption(code, optarg, options)) {
            (void)std::fputs("Try 'halvo-sim --help'.\n", stderr);
            return 2;
        }
    }
    if (optind < argc) {
        (void)std::fprintf(stderr,
                           "halvo-sim: unexpected argument \"%s\"\nTry 'halvo-sim --help'.\n",
                           argv[optind]);
        return 2;
    }

    // The serving thread inherits this mask, so the signals reach sigwait below.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    // Faults held back for a while let the program set the instruments up undisturbed.
    const SIMFAULTS faults = options.faults;
    if (faultsAfter > 0.0) {
        options.faults = SIMFAULTS{};
    }
    CSimulator simulator(options);
    if (!simulator.Start()) {
        (void)std::fprintf(stderr, "halvo-sim: %s\n", simulator.Error().c_str());
        return 1;
    }
    (void)std::printf("halvo-sim: instruments on %s", simulator.SlavePath().c_str());
    if (!options.linkPath.empty()) {
        (void)std::printf(", published as %s", options.linkPath.c_str());
    }
    (void)std::printf("%s\n", options.fast ? " (fast)" : "");
    (void)std::fflush(stdout);

    int signal = 0;
    if (faultsAfter > 0.0) {
        signal = WaitForSignal(stopSignals, faultsAfter);
        if (signal == 0) {
            simulator.SetFaults(faults);
        }
    }
    if (signal == 0 && faultsFor > 0.0) {
        signal = WaitForSignal(stopSignals, faultsFor);
        if (signal == 0) {
            simulator.SetFaults(SIMFAULTS{});
        }
    }
    if (signal == 0) {
        sigwait(&stopSignals, &signal);
    }
    simulator.Stop();
    return 0;
}
