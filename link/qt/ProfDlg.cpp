// CProfDlg: the "Sensor Information" dialog showing the sensor's identity and coefficients.
#include "link/qt/ProfDlg.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "resources/DialogTexts.h"

CProfDlg::CProfDlg(Language language, QWidget* parent)
    : QDialog(parent), m_label(new QLabel(this)) {
    setWindowTitle(QString::fromUtf8(LoadDialogText(DialogTextId::SensorInfoTitle, language)));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    m_label->setObjectName(QStringLiteral("sensorText"));
    m_label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_label->setTextFormat(Qt::PlainText);
    m_label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_label->setMinimumSize(260, 150);
    m_label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* close = buttons->addButton(
        QString::fromUtf8(LoadDialogText(DialogTextId::SensorInfoClose, language)),
        QDialogButtonBox::RejectRole);
    close->setAccessibleName(close->text());
    close->setDefault(true);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_label);
    layout->addWidget(buttons, 0, Qt::AlignHCenter);
}

void CProfDlg::showEvent(QShowEvent* event) {
    m_label->setText(m_text);
    m_label->setAccessibleName(m_text);
    QDialog::showEvent(event);
}
