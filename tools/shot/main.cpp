// halvo-shot: starts the application as halvo does, runs Measure Execute once and saves the
// main window as a PNG (scripts/run.sh uses it on machines without a display).
#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <cstring>

#include "app/CommandRouter.h"
#include "app/MainFrame.h"
#include "app/OrvelApp.h"
#include "display/qt/OrvelView.h"
#include "document/OrvelDoc.h"
#include "resources/ResourceIds.h"

namespace {

const char kUsage[] =
    "Usage: halvo-shot PNG [SECONDS]\n"
    "Starts the application with the settings and ports beside this program, as halvo does,\n"
    "runs one measurement (Measure Execute), saves the main window to PNG and ends. Gives up\n"
    "after SECONDS (default 300), for example when the port set-up asks for another port.\n";

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 2 || argc > 3 || std::strcmp(argv[1], "--help") == 0) {
        std::fputs(kUsage, argc == 2 ? stdout : stderr);
        return argc == 2 ? 0 : 2;
    }
    const QString png = QString::fromLocal8Bit(argv[1]);
    const int limitSeconds = argc == 3 ? std::atoi(argv[2]) : 300;
    QApplication application(argc, argv);
    COrvelApp app;
    app.InstallSignalHandlers();
    bool timedOut = false;
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [&] {
        timedOut = true;
        app.OnTerminationSignal();
    });
    watchdog.start(std::max(limitSeconds, 1) * 1000);

    if (!app.InitInstance({argv[0]})) {
        std::fputs(timedOut ? "halvo-shot: gave up while setting up the instruments\n"
                            : "halvo-shot: the instruments could not be set up\n",
                   stderr);
        return 1;
    }
    if (!app.Router().IsEnabled(ID_MEAS_EXECUTE)) {
        std::fputs("halvo-shot: Measure Execute is not available (port closed)\n", stderr);
        return 1;
    }
    CMainFrame& frame = *app.Frame();
    frame.resize(1024, 800);
    int result = 1;
    QObject::connect(app.View(), &COrvelView::measurementEnded, &frame, [&] {
        // Let the last repaint land before the picture is taken.
        QTimer::singleShot(500, &frame, [&] {
            if (frame.grab().save(png)) {
                const int records = app.Document()->m_radData.GetSize();
                std::printf("%s\n", png.toLocal8Bit().constData());
                if (records == 0) {
                    std::fputs("halvo-shot: nothing was measured (is the sun up at the site?)\n",
                               stderr);
                }
                result = 0;
            } else {
                std::fprintf(stderr, "halvo-shot: cannot write %s\n",
                             png.toLocal8Bit().constData());
            }
            frame.close();
        });
    });
    app.Router().Post(ID_MEAS_EXECUTE);
    QApplication::exec();
    return timedOut ? 1 : result;
}
