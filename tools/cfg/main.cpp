// halvo-cfg: sets the port, site and interval schedule in a settings file "Orvel.cfg", keeping
// its other settings.
#include <getopt.h>

#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "data/CLocaleFormat.h"
#include "document/OrvelSettings.h"

namespace {

const char kUsage[] =
    "Usage: halvo-cfg [options] FILE\n"
    "Writes the settings file FILE (normally Orvel.cfg beside the halvo program). Settings the\n"
    "file already holds are kept; a missing file starts from the defaults, with the paths in\n"
    "the folder of FILE.\n"
    "\n"
    "  --port N          serial port number, as the \"COM Port\" dialog would store it\n"
    "  --longitude DEG   site longitude, east positive\n"
    "  --latitude DEG    site latitude, north positive\n"
    "  --from HH:MM      start of the daily interval window\n"
    "  --to HH:MM        end of the daily interval window (inclusive; 23:59 ends at 23:59:59)\n"
    "  --period SEC      interval period in seconds (60 to 599940)\n"
    "  --data-folder DIR folder of the daily data and text files\n"
    "  --auto-start 0|1  start interval measurement when the program starts\n"
    "  --show            print the port, site and schedule the file holds (after any change)\n"
    "  --help            show this text\n";

bool ParseNumber(const char* text, double low, double high, double& value) {
    const char* end = nullptr;
    value = ParseDoubleC(text, &end);
    return end != text && *end == '\0' && value >= low && value <= high;
}

bool ParseWhole(const char* text, double low, double high, int64_t& value) {
    double v = 0;
    if (!ParseNumber(text, low, high, v) || v != static_cast<double>(static_cast<int64_t>(v))) {
        return false;
    }
    value = static_cast<int64_t>(v);
    return true;
}

// "HH:MM" as seconds from midnight; 23:59 as the last second of the day when it ends a window.
bool ParseTimeOfDay(const char* text, bool end, int64_t& seconds) {
    int hour = -1;
    int minute = -1;
    char rest = 0;
    if (std::sscanf(text, "%d:%d%c", &hour, &minute, &rest) != 2 || hour < 0 || hour > 23 ||
        minute < 0 || minute > 59) {
        return false;
    }
    seconds = hour * 3600 + minute * 60 + (end && hour == 23 && minute == 59 ? 59 : 0);
    return true;
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

// Applies one option to the settings; false for a bad value.
bool Apply(int option, const char* value, COrvelSettings& s) {
    double d = 0;
    int64_t n = 0;
    switch (option) {
        case 'p':
            return ParseWhole(value, 0, 9999, n) && (s.m_comPort = static_cast<int32_t>(n), true);
        case 'x':
            return ParseNumber(value, -180, 180, d) && (s.m_longitude = d, true);
        case 'y':
            return ParseNumber(value, -90, 90, d) && (s.m_latitude = d, true);
        case 'f':
            return ParseTimeOfDay(value, false, s.m_intervalStart);
        case 't':
            return ParseTimeOfDay(value, true, s.m_intervalEnd);
        case 'e':
            return ParseWhole(value, kIntervalPeriodMin, kIntervalPeriodMax, s.m_intervalPeriod);
        case 'd':
            s.m_dataFolder = value;
            if (!s.m_dataFolder.empty() && s.m_dataFolder.back() != '/') {
                s.m_dataFolder += '/';
            }
            return !s.m_dataFolder.empty();
        case 'a':
            return ParseWhole(value, 0, 1, n) && (s.m_autoStart = static_cast<int32_t>(n), true);
        default:
            return false;
    }
}

}  // namespace

int main(int argc, char* argv[]) {
    const option options[] = {{"port", required_argument, nullptr, 'p'},
                              {"longitude", required_argument, nullptr, 'x'},
                              {"latitude", required_argument, nullptr, 'y'},
                              {"from", required_argument, nullptr, 'f'},
                              {"to", required_argument, nullptr, 't'},
                              {"period", required_argument, nullptr, 'e'},
                              {"data-folder", required_argument, nullptr, 'd'},
                              {"auto-start", required_argument, nullptr, 'a'},
                              {"show", no_argument, nullptr, 's'},
                              {"help", no_argument, nullptr, 'h'},
                              {nullptr, 0, nullptr, 0}};
    std::vector<std::pair<int, std::string>> changes;
    bool show = false;
    int opt = 0;
    while ((opt = getopt_long(argc, argv, "", options, nullptr)) != -1) {
        if (opt == 'h') {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (opt == 's') {
            show = true;
        } else if (opt == '?') {
            std::fputs(kUsage, stderr);
            return 2;
        } else {
            changes.emplace_back(opt, optarg);
        }
    }
    if (optind != argc - 1) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const std::string path = argv[optind];
    COrvelSettings settings(FolderOf(path));
    settings.LoadSaveConfig(path, COrvelSettings::kLoad);
    for (const auto& [option, value] : changes) {
        if (!Apply(option, value.c_str(), settings)) {
            std::fprintf(stderr, "halvo-cfg: bad value '%s'\n%s", value.c_str(), kUsage);
            return 2;
        }
    }
    if (!changes.empty()) {
        settings.LoadSaveConfig(path, COrvelSettings::kStore);
        COrvelSettings check(FolderOf(path));
        if (check.LoadSaveConfig(path, COrvelSettings::kLoad) != 1 ||
            check.StoreToBytes() != settings.StoreToBytes()) {
            std::fprintf(stderr, "halvo-cfg: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    if (show) {
        std::fputs(FormatC("port=%d longitude=%.4f latitude=%.4f window=%lld-%lld period=%lld "
                           "auto-start=%d data-folder=%s\n",
                           settings.m_comPort, settings.m_longitude, settings.m_latitude,
                           static_cast<long long>(settings.m_intervalStart),
                           static_cast<long long>(settings.m_intervalEnd),
                           static_cast<long long>(settings.m_intervalPeriod), settings.m_autoStart,
                           settings.m_dataFolder.c_str())
                       .c_str(),
                   stdout);
    }
    return 0;
}
