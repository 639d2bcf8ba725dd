// halvo-cfg: sets the port and site in a settings file "Orvel.cfg", keeping its other settings.
#include <getopt.h>

#include <cstdio>
#include <cstdlib>
#include <string>

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
    "  --show            print the port and site the file holds (after any change)\n"
    "  --help            show this text\n";

bool ParseNumber(const char* text, double& value) {
    const char* end = nullptr;
    value = ParseDoubleC(text, &end);
    return end != text && *end == '\0';
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

}  // namespace

int main(int argc, char* argv[]) {
    enum { kPort = 256, kLongitude, kLatitude, kShow, kHelp };
    const option options[] = {{"port", required_argument, nullptr, kPort},
                              {"longitude", required_argument, nullptr, kLongitude},
                              {"latitude", required_argument, nullptr, kLatitude},
                              {"show", no_argument, nullptr, kShow},
                              {"help", no_argument, nullptr, kHelp},
                              {nullptr, 0, nullptr, 0}};
    bool setPort = false, setLongitude = false, setLatitude = false, show = false;
    double port = 0, longitude = 0, latitude = 0;
    int opt = 0;
    while ((opt = getopt_long(argc, argv, "", options, nullptr)) != -1) {
        bool ok = true;
        switch (opt) {
            case kPort:
                ok = setPort = ParseNumber(optarg, port) && port >= 0 && port <= 9999 &&
                               port == static_cast<int>(port);
                break;
            case kLongitude:
                ok = setLongitude =
                    ParseNumber(optarg, longitude) && longitude >= -180 && longitude <= 180;
                break;
            case kLatitude:
                ok = setLatitude =
                    ParseNumber(optarg, latitude) && latitude >= -90 && latitude <= 90;
                break;
            case kShow:
                show = true;
                break;
            case kHelp:
                std::fputs(kUsage, stdout);
                return 0;
            default:
                ok = false;
        }
        if (!ok) {
            std::fprintf(stderr, "halvo-cfg: bad option or value\n%s", kUsage);
            return 2;
        }
    }
    if (optind != argc - 1) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const std::string path = argv[optind];
    COrvelSettings settings(FolderOf(path));
    settings.LoadSaveConfig(path, COrvelSettings::kLoad);
    if (setPort) {
        settings.m_comPort = static_cast<int32_t>(port);
    }
    if (setLongitude) {
        settings.m_longitude = longitude;
    }
    if (setLatitude) {
        settings.m_latitude = latitude;
    }
    if (setPort || setLongitude || setLatitude) {
        settings.LoadSaveConfig(path, COrvelSettings::kStore);
        COrvelSettings check(FolderOf(path));
        if (check.LoadSaveConfig(path, COrvelSettings::kLoad) != 1 ||
            check.m_comPort != settings.m_comPort) {
            std::fprintf(stderr, "halvo-cfg: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    if (show) {
        std::fputs(FormatC("port=%d longitude=%.4f latitude=%.4f\n", settings.m_comPort,
                           settings.m_longitude, settings.m_latitude)
                       .c_str(),
                   stdout);
    }
    return 0;
}
