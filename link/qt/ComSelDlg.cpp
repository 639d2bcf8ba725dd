// CComSelDlg: the "COM Port" dialog listing the serial ports that can be opened now.
#include "link/qt/ComSelDlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "link/IWaitPump.h"
#include "resources/DialogTexts.h"

CComSelDlg::CComSelDlg(const CPortMap& portMap, Language language, const IWaitPump* pump,
                       QWidget* parent)
    : QDialog(parent), m_combo(new QComboBox(this)), m_portMap(portMap), m_pump(pump) {
    m_title = QString::fromUtf8(LoadDialogText(DialogTextId::ComPortTitle, language));
    m_combo->setObjectName(QStringLiteral("portList"));
    m_combo->setAccessibleName(m_title);
    m_combo->setMinimumContentsLength(28);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* ok =
        buttons->addButton(QString::fromUtf8(LoadDialogText(DialogTextId::Ok, language)),
                           QDialogButtonBox::AcceptRole);
    QPushButton* cancel =
        buttons->addButton(QString::fromUtf8(LoadDialogText(DialogTextId::ComPortCancel, language)),
                           QDialogButtonBox::RejectRole);
    ok->setAccessibleName(ok->text());
    cancel->setAccessibleName(cancel->text());
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_combo);
    layout->addWidget(buttons);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
}

bool CComSelDlg::ChoosePort(int& port) {
    if (m_pump != nullptr && m_pump->QuitRequested()) {
        return false;
    }
    OnInitDialog();
    if (exec() != QDialog::Accepted || (m_pump != nullptr && m_pump->QuitRequested())) {
        return false;
    }
    if (m_port != 0) {
        port = m_port;
    }
    return true;
}

void CComSelDlg::OnInitDialog() {
    setWindowTitle(m_title);
    m_combo->clear();
    for (const int n : m_portMap.AvailablePorts()) {
        m_combo->addItem(QString::fromStdString(m_portMap.Label(n)), n);
    }
    m_combo->setCurrentIndex(-1);
}

void CComSelDlg::accept() {
    if (m_combo->currentIndex() >= 0) {
        m_port = m_combo->currentData().toInt();
    }
    QDialog::accept();
}
