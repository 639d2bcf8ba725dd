// CTimeDlg: the modeless "Interval Measurement" dialog: clock, next slot, last file status.
#include "measurement/qt/TimeDlg.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "measurement/qt/ViewMessage.h"
#include "resources/DialogTexts.h"

CTimeDlg::CTimeDlg(Language language, QWidget* view)
    : QDialog(view, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint),
      m_time(new QLabel(this)),
      m_status(new QLabel(this)),
      m_break(new QPushButton(this)),
      m_view(view) {
    setWindowTitle(
        QString::fromUtf8(LoadDialogText(DialogTextId::IntervalProgressTitle, language)));
    setModal(false);
    m_time->setObjectName(QStringLiteral("intervalTime"));
    m_time->setTextFormat(Qt::PlainText);
    m_time->setMinimumSize(160, 40);
    m_status->setObjectName(QStringLiteral("intervalStatus"));
    m_status->setTextFormat(Qt::PlainText);
    m_break->setObjectName(QStringLiteral("intervalBreak"));
    m_break->setText(
        QString::fromUtf8(LoadDialogText(DialogTextId::IntervalProgressBreak, language)));
    m_break->setAccessibleName(m_break->text());
    m_break->setAutoDefault(false);
    connect(m_break, &QPushButton::clicked, this,
            [this] { QCoreApplication::postEvent(m_view, new CViewMessage(WM_INTERVAL_BREAK)); });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_time);
    layout->addWidget(m_status);
    layout->addWidget(m_break, 0, Qt::AlignHCenter);
}

void CTimeDlg::SetTimeText(const std::string& text) {
    m_time->setText(QString::fromStdString(text));
    m_time->setAccessibleName(m_time->text());
}

void CTimeDlg::SetStatusText(const std::string& text) {
    m_status->setText(QString::fromStdString(text));
    m_status->setAccessibleName(m_status->text());
}

void CTimeDlg::Show() {
    adjustSize();
    const QPoint centre = m_view->mapToGlobal(m_view->rect().center());
    move(centre - QPoint(width() / 2, height() / 2));
    SetTopmost(true);
    show();
    raise();
}

// Changing a window's flags hides it; a visible dialog is shown again where it was.
void CTimeDlg::SetTopmost(bool topmost) {
    if (IsTopmost() == topmost) {
        return;
    }
    const bool visible = isVisible();
    const QPoint at = pos();
    setWindowFlag(Qt::WindowStaysOnTopHint, topmost);
    if (visible) {
        move(at);
        show();
    }
}

void CTimeDlg::closeEvent(QCloseEvent* event) {
    event->ignore();
}
