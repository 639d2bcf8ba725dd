// A simulated day of the station at a one-minute period (1440 slots) against the in-process
// simulator: resident memory after the first slots and every few hours, to show it stays flat.
#include <unistd.h>

#include <cstdio>
#include <fstream>

#include "tests/support/ScopedTimeZone.h"
#include "tests/support/StationRig.h"

namespace {

long ResidentKb() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    statm >> pages >> resident;
    return resident * sysconf(_SC_PAGESIZE) / 1024;
}

}  // namespace

int main() {
    ScopedTimeZone zone("Europe/Helsinki");
    TempFolder dir;
    const int64_t start = LocalStamp(2024, 6, 21, 0, 0, 0);
    StationRig rig(dir.Path(), start - 30, {0, 86399, 60, 25.0, 60.0});
    if (!rig.simulator->Start()) {
        std::fprintf(stderr, "%s\n", rig.simulator->Error().c_str());
        return 1;
    }
    CStation& station = rig.Station();
    rig.sleeper.At(start + 86400 - 30, [&station] { station.RequestStop(); });
    int64_t nextReport = start + 600;
    rig.sleeper.onEachSleep = [&] {
        // The simulator keeps every request for tests; that memory is not the station's.
        rig.simulator->ClearRequests();
        if (rig.clock.now >= nextReport) {
            const CStationStatus& s = station.Status();
            std::printf("%02lld:%02lld  slots %4lld  measured %4lld  resident %6ld kB\n",
                        static_cast<long long>((rig.clock.now - start) / 3600),
                        static_cast<long long>((rig.clock.now - start) / 60 % 60),
                        static_cast<long long>(s.due), static_cast<long long>(s.measured),
                        ResidentKb());
            nextReport += nextReport == start + 600 ? 3 * 3600 - 600 : 3 * 3600;
        }
    };
    station.Run();
    std::printf("end    slots %4lld  measured %4lld  resident %6ld kB\n",
                static_cast<long long>(station.Status().due),
                static_cast<long long>(station.Status().measured), ResidentKb());
    return 0;
}
