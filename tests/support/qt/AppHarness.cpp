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

std::unique_ptr<QApplication> g_application;

}  // namespace

QApplication& Application() {
    static int argc = 1;
    static char name[] = "halvo-test";
    static char* argv[] = {name, nullptr};
    if (g_application == nullptr) {
        for (const auto& [variable, value] :
             {std::pair{"QT_QPA_PLATFORM", "offscreen"}, {"XDG_RUNTIME_DIR", "/tmp/halvo-xdg"}}) {
            if (qEnvironmentVariableIsEmpty(variable)) {
                qputenv(variable, value);
            }
        }
        const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
        mkdir(runtime.constData(), 0700);
        chmod(runtime.constData(), 0700);
        g_application = std::make_unique<QApplication>(argc, argv);
        QApplication::setQuitOnLastWindowClosed(false);
    }
    return *g_application;
}

void ShutDown() {
    g_application.reset();
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
    return simulator->Start() ? std::move(simulator) : nullptr;
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

TestApp::TestApp(Mode mode, Language language) {
    if (mode == Offline) {
        app = MakeApp(folder, clock, language);
        started = app->InitInstance({"halvo", QString::fromStdString(folder.Path() + "old.wsx")});
        return;
    }
    folder.WriteConfig(1);
    simulator = StartSimulator(folder, clock);
    app = MakeApp(folder, clock, language);
    started = simulator != nullptr && app->InitInstance();
}

}  // namespace apptest
