// CAboutDlg: the "About Halvo" box: icon, program version, the build and the home folder.
#pragma once

#include <QDialog>

#include "resources/Language.h"

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    // homeFolder: where "Orvel.cfg", "ports/" and "log.txt" are kept in this run.
    CAboutDlg(Language language, const QString& homeFolder, QWidget* parent = nullptr);

    // The second line: this build's version and the Qt it runs on.
    static QString BuildLine();
};
