// halvo-station: interval measurement without a display, for stations that run unattended.
#include <getopt.h>
#include <signal.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "data/CLocaleFormat.h"
#include "document/HomeFolder.h"
#include "link/SteadyClock.h"
#include "measurement/IClock.h"
#include "resources/Language.h"
#include "station/JournalLog.h"
#include "station/ServiceNotifier.h"
#include "station/Station.h"
#include "station/StationPump.h"
#include "station/StationStatus.h"
#include "station/StatusCheck.h"

#ifndef HALVO_VERSION
#define HALVO_VERSION "unknown"
#endif

namespace {

const char kUsage[] =
    "Usage: halvo-station [--home DIR] [--port N] [--once]\n"
    "       halvo-station --status [--home DIR]\n"
    "Runs the interval measurement of the Orvel.cfg settings without a display: it sets the\n"
    "spectroradiometer and the shadow band up as the halvo program does, measures every slot\n"
    "of the daily window and writes the same data file (VSyyyymmdd.wsx), daily text file and\n"
    "log.txt. It never waits for a person: a failed set-up or a lost port is retried after\n"
    "30 s, doubling up to 5 minutes. Each event is one line on standard error.\n"
    "\n"
    "  --home DIR   folder of Orvel.cfg, ports/COM<n>, log.txt and halvo-station.status\n"
    "               (default: beside the program when that folder is writable and not a\n"
    "               system folder, else $XDG_CONFIG_HOME/halvo, normally ~/.config/halvo)\n"
    "  --port N     use port N instead of the stored one (not stored)\n"
    "  --once       one measurement now, added to the day's files as a slot would add it;\n"
    "               exit status 0 when all four positions were measured and written\n"
    "  --status     print the running station's status and exit 0 (fine), 1 (the last slot\n"
    "               failed or a slot was missed in the last hour) or 2 (disconnected, not\n"
    "               running, or a status older than two periods)\n"
    "  --help       show this text\n"
    "  --version    show the version\n"
    "\n"
    "Signals: SIGTERM or SIGINT ends it within 5 s (a running measurement is broken off, the\n"
    "band parked, the port closed); SIGHUP reloads Orvel.cfg before the next slot.\n";

struct Arguments {
    std::string home;
    int port = -1;
    bool once = false;
    bool status = false;
    bool help = false;
    bool version = false;
};

bool Parse(int argc, char* argv[], Arguments& args) {
    enum { kHome = 256, kPort, kOnce, kStatus, kHelp, kVersion };
    const option options[] = {{"home", required_argument, nullptr, kHome},
                              {"port", required_argument, nullptr, kPort},
                              {"once", no_argument, nullptr, kOnce},
                              {"status", no_argument, nullptr, kStatus},
                              {"help", no_argument, nullptr, kHelp},
                              {"version", no_argument, nullptr, kVersion},
                              {nullptr, 0, nullptr, 0}};
    int opt = 0;
    while ((opt = getopt_long(argc, argv, "", options, nullptr)) != -1) {
        switch (opt) {
            case kHome:
                args.home = optarg;
                if (args.home.empty()) {
                    return false;
                }
                break;
            case kPort: {
                const char* end = nullptr;
                const double n = ParseDoubleC(optarg, &end);
                if (end == optarg || *end != '\0' || n < 0 || n > 9999 ||
                    n != static_cast<int>(n)) {
                    return false;
                }
                args.port = static_cast<int>(n);
                break;
            }
            case kOnce:
                args.once = true;
                break;
            case kStatus:
                args.status = true;
                break;
            case kHelp:
                args.help = true;
                break;
            case kVersion:
                args.version = true;
                break;
            default:
                return false;
        }
    }
    return optind == argc;
}

int ShowStatus(const std::string& home) {
    CStationStatus status;
    const bool have = status.ReadFile(home + kStatusFileName);
    const bool running = have && CStatusCheck::ProcessRunning(status.pid);
    CSystemClock clock;
    std::string reason;
    const auto verdict = CStatusCheck::Judge(status, have, running, clock.Now(), reason);
    std::fputs(CStatusCheck::Report(status, verdict, reason).c_str(), stdout);
    return verdict;
}

Language LanguageOfEnvironment() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') {
            return LanguageFromLocaleName(value);
        }
    }
    return Language::English;
}

}  // namespace

int main(int argc, char* argv[]) {
    Arguments args;
    if (!Parse(argc, argv, args)) {
        std::fputs("Try 'halvo-station --help'.\n", stderr);
        return 2;
    }
    if (args.version) {
        std::puts("halvo-station " HALVO_VERSION);
        return 0;
    }
    const std::string home = CHomeFolder::Resolve(args.home);
    if (args.help) {
        std::fputs(kUsage, stdout);
        // On standard error, so a manual page made from the help text names no build folder.
        std::fprintf(stderr, "\nHome folder of this run: %s\n", home.c_str());
        return 0;
    }
    if (args.status) {
        return ShowStatus(home);
    }
    // A monitoring pipe that went away must not end the station.
    ::signal(SIGPIPE, SIG_IGN);

    CSystemClock clock;
    CJournalLog log(2, CJournalLog::StderrIsJournal(), clock);
    CServiceNotifier notifier;
    CStation* running = nullptr;
    CStationPump pump(
        [&running](int signal) {
            if (running != nullptr) {
                running->OnSignal(signal);
            }
        },
        &notifier);
    if (!pump.Ok()) {
        log.Write(CJournalLog::Priority::Error, "cannot set up signal and timer descriptors");
        return 1;
    }
    StationOptions options{home, args.port, LanguageOfEnvironment()};
    CStation station(options, {clock, CSteadyClock::Instance(), pump, pump, log, &notifier});
    running = &station;
    const int result = args.once ? station.RunOnce() : station.Run();
    running = nullptr;
    return result;
}
