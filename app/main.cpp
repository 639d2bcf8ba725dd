// halvo: the measuring program for the KT-530 spectroradiometer and its shadow band.
#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "app/OrvelApp.h"
#include "resources/Language.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    // Qt's own dialogs (file, colour, print) speak the language the program's texts speak.
    QTranslator qtTexts;
    if (LanguageFromLocaleName(QLocale::system().name().toStdString()) == Language::Japanese &&
        qtTexts.load(QLocale::system(), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&qtTexts);
    }
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
