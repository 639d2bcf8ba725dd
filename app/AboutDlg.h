// CAboutDlg: the "About Halvo" box: icon, program version and the build's version.
#pragma once

#include <QDialog>

#include "resources/Language.h"

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(Language language, QWidget* parent = nullptr);

    // The second line: this build's version and the Qt it runs on.
    static QString BuildLine();
};
