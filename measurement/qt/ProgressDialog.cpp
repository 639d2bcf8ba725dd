// The progress dialogs' common frame: title, Break button, centring, no close.
#include "measurement/qt/ProgressDialog.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "measurement/qt/ViewMessage.h"

CProgressDialog::CProgressDialog(Language language, QWidget* view, DialogTextId title,
                                 DialogTextId breakText, const char* breakName,
                                 QEvent::Type breakMessage)
    : QDialog(view, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint),
      m_break(new QPushButton(this)),
      m_view(view),
      m_layout(new QVBoxLayout(this)) {
    setWindowTitle(QString::fromUtf8(LoadDialogText(title, language)));
    setModal(false);
    m_break->setObjectName(QString::fromLatin1(breakName));
    m_break->setText(QString::fromUtf8(LoadDialogText(breakText, language)));
    m_break->setAccessibleName(m_break->text());
    m_break->setAutoDefault(false);
    connect(m_break, &QPushButton::clicked, this, [this, breakMessage] {
        QCoreApplication::postEvent(m_view, new CViewMessage(breakMessage));
    });
    m_layout->addWidget(m_break, 0, Qt::AlignHCenter);
}

QLabel* CProgressDialog::AddLabel(const char* name) {
    auto* label = new QLabel(this);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    m_layout->insertWidget(m_layout->count() - 1, label);
    return label;
}

void CProgressDialog::CenterOverView() {
    adjustSize();
    const QPoint centre = m_view->mapToGlobal(m_view->rect().center());
    move(centre - QPoint(width() / 2, height() / 2));
}

void CProgressDialog::closeEvent(QCloseEvent* event) {
    event->ignore();
}
