// halvo: the measuring program for the KT-530 spectroradiometer and its shadow band.
#include <QApplication>

#include "app/OrvelApp.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    int result = 0;
    {
        COrvelApp app;
        app.InstallSignalHandlers();
        // A cancelled port choice ends the program before any window was shown.
        if (!app.InitInstance(QApplication::arguments())) {
            return 0;
        }
        result = QApplication::exec();
    }
    return result;
}
