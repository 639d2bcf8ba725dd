// Running the application inside a test: an offscreen QApplication, a run folder of its own,
// the simulated instruments on a pseudo-terminal, and answers to modal dialogs.
#include "tests/support/qt/AppHarness.h"

#include <sys/stat.h>

#include <QApplication>
#include <QtTest/QTest>
#include <filesystem>

#include "app/CommandRouter.h"

namespace apptest {

namespace {

QApplication* g_application = nullptr;

}  // namespace

QApplication& Application() {
    static int argc = 1;
    static char name[] = "halvo-test";
    static char* argv[] = {name, nullptr};
    if (g_application != nullptr) {
        return *g_application;
    }
    g_application = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
        if (runtime.isEmpty()) {
            runtime = "/tmp/halvo-xdg";
            qputenv("XDG_RUNTIME_DIR", runtime);
        }
        mkdir(runtime.constData(), 0700);
        chmod(runtime.constData(), 0700);
        auto* application = new QApplication(argc, argv);
        QApplication::setQuitOnLastWindowClosed(false);
        return application;
    }();
    return *g_application;
}

void ShutDown() {
    delete g_application;
    g_application = nullptr;
}

RunFolder::RunFolder() {
    std::filesystem::create_directories(PortsDir());
}

void RunFolder::WriteConfig(int port, const std::function<void(COrvelSettings&)>& more) const {
    COrvelSettings settings(Path());
    settings.m_comPort = port;
    if (more) {
        more(settings);
    }
    settings.LoadSaveConfig(ConfigPath(), COrvelSettings::kStore);
}

int RunFolder::StoredPort() const {
    if (!std::filesystem::exists(ConfigPath())) {
        return -2;
    }
    COrvelSettings settings(Path());
    settings.LoadSaveConfig(ConfigPath(), COrvelSettings::kLoad);
    return settings.m_comPort;
}

std::unique_ptr<CSimulator> StartSimulator(const RunFolder& folder, const IClock& clock) {
    SIMOPTIONS options;
    options.fast = true;
    options.seed = 3;
    options.linkPath = folder.PortsDir() + "/COM1";
    options.clock = [&clock] { return clock.Now(); };
    auto simulator = std::make_unique<CSimulator>(options);
    if (!simulator->Start()) {
        return nullptr;
    }
    return simulator;
}

bool WaitUntil(const std::function<bool()>& condition, int timeoutMs) {
    return QTest::qWaitFor(condition, timeoutMs);
}

std::unique_ptr<COrvelApp> MakeApp(const RunFolder& folder, const IClock& clock,
                                   Language language) {
    Application();
    AppOptions options;
    options.exeDir = folder.Path();
    options.clock = &clock;
    options.language = language;
    return std::make_unique<COrvelApp>(options);
}

bool RunCommand(COrvelApp& app, unsigned id, int timeoutMs) {
    bool done = false;
    const auto connection =
        QObject::connect(&app.Router(), &CCommandRouter::commandDone,
                         [&done, id](unsigned finished) { done = done || finished == id; });
    app.Router().Post(id);
    const bool finished = WaitUntil([&done] { return done; }, timeoutMs);
    QObject::disconnect(connection);
    return finished;
}

}  // namespace apptest
