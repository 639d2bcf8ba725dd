// CAboutDlg: the "About Halvo" box: icon, program version and the build's version.
#include "app/AboutDlg.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "app/ToolbarIcons.h"
#include "resources/DialogTexts.h"

#ifndef HALVO_VERSION
#define HALVO_VERSION "unknown"
#endif

CAboutDlg::CAboutDlg(Language language, const QString& homeFolder, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QString::fromUtf8(LoadDialogText(DialogTextId::AboutTitle, language)));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    auto* icon = new QLabel(this);
    icon->setPixmap(ApplicationImage(32));
    auto* version =
        new QLabel(QString::fromUtf8(LoadDialogText(DialogTextId::AboutVersion, language)), this);
    version->setObjectName(QStringLiteral("aboutVersion"));
    auto* build = new QLabel(BuildLine(), this);
    build->setObjectName(QStringLiteral("aboutBuild"));
    auto* home = new QLabel(
        QString::fromUtf8(LoadDialogText(DialogTextId::AboutHomeFolder, language)).arg(homeFolder),
        this);
    home->setObjectName(QStringLiteral("aboutHome"));
    home->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok =
        buttons->addButton(QString::fromUtf8(LoadDialogText(DialogTextId::Ok, language)),
                           QDialogButtonBox::AcceptRole);
    ok->setAccessibleName(ok->text());
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, 3, 1, Qt::AlignTop);
    layout->addWidget(version, 0, 1);
    layout->addWidget(build, 1, 1);
    layout->addWidget(home, 2, 1);
    layout->addWidget(buttons, 0, 2, 3, 1, Qt::AlignTop);
    layout->setHorizontalSpacing(16);
}

QString CAboutDlg::BuildLine() {
    return QStringLiteral("Build %1 (Qt %2)").arg(QStringLiteral(HALVO_VERSION), qVersion());
}
