// Running the application inside a test: an offscreen QApplication, a run folder of its own,
// the simulated instruments on a pseudo-terminal; modal dialogs are answered by ModalScript.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "app/OrvelApp.h"
#include "document/OrvelSettings.h"
#include "measurement/IClock.h"
#include "sim/Simulator.h"
#include "tests/support/Fakes.h"
#include "tests/support/TestFiles.h"

class QApplication;

namespace apptest {

// 2024-06-21 03:00:00 UTC: noon in Japan, the sun high over the default site (135 E, 35 N).
inline constexpr int64_t kNoonAtDefaultSite = 1718938800;

QApplication& Application();
// Destroys the application object, if one was made (before the program ends, so the font
// caches it holds are released).
void ShutDown();

// A temporary folder standing for the program's folder, with "ports" inside; removed at the end.
class RunFolder : public TempFolder {
public:
    RunFolder();
    std::string PortsDir() const { return Path() + "ports"; }
    std::string ConfigPath() const { return Path() + "Orvel.cfg"; }
    // Writes "Orvel.cfg" with the port, the defaults otherwise unless more changes them.
    void WriteConfig(int port, const std::function<void(COrvelSettings&)>& more = {}) const;
    // The port stored in "Orvel.cfg"; -2 when there is no such file.
    int StoredPort() const;
};

// The simulated instruments, fast, published as COM1 of a run folder.
std::unique_ptr<CSimulator> StartSimulator(const RunFolder& folder, const IClock& clock);

// Runs the event loop until the condition holds or the time is up; the condition's last value.
bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = 15000);

// The application in a run folder, on the fixed clock, in the given language.
std::unique_ptr<COrvelApp> MakeApp(const RunFolder& folder, const IClock& clock,
                                   Language language = Language::English);

// Posts a command as a menu would and waits until its handler has returned.
bool RunCommand(COrvelApp& app, unsigned id, int timeoutMs = 30000);

// The application started at noon: Online, connected to the simulated instruments on COM1;
// Offline, started with a file name, so with no port, no instruments and no dialog.
struct TestApp {
    enum Mode { Online, Offline };
    explicit TestApp(Mode mode = Online, Language language = Language::English);
    RunFolder folder;
    FakeWallClock clock{kNoonAtDefaultSite};
    std::unique_ptr<CSimulator> simulator;
    std::unique_ptr<COrvelApp> app;
    bool started = false;
};

}  // namespace apptest
