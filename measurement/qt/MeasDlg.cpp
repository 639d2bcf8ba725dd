// CMeasDlg: the modeless, topmost "Meas Now" dialog showing a measurement's progress.
#include "measurement/qt/MeasDlg.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "measurement/qt/ViewMessage.h"
#include "resources/DialogTexts.h"

CMeasDlg::CMeasDlg(Language language, QWidget* view)
    : QDialog(view, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint),
      m_text(new QLabel(this)),
      m_break(new QPushButton(this)),
      m_view(view) {
    setWindowTitle(QString::fromUtf8(LoadDialogText(DialogTextId::MeasProgressTitle, language)));
    setModal(false);
    m_text->setObjectName(QStringLiteral("progressText"));
    m_text->setText(QString::fromUtf8(LoadDialogText(DialogTextId::MeasProgressText, language)));
    m_text->setTextFormat(Qt::PlainText);
    m_text->setAlignment(Qt::AlignCenter);
    m_text->setMinimumSize(200, 48);
    m_break->setObjectName(QStringLiteral("measBreak"));
    m_break->setText(QString::fromUtf8(LoadDialogText(DialogTextId::MeasProgressBreak, language)));
    m_break->setAccessibleName(m_break->text());
    m_break->setAutoDefault(false);
    connect(m_break, &QPushButton::clicked, this,
            [this] { QCoreApplication::postEvent(m_view, new CViewMessage(WM_MEAS_BREAK)); });
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addWidget(m_break, 0, Qt::AlignHCenter);
}

void CMeasDlg::SetMessage(const std::string& text) {
    m_text->setText(QString::fromStdString(text));
    m_text->setAccessibleName(m_text->text());
    // The sequence may not return to the event loop before its next wait: paint now.
    if (isVisible()) {
        repaint();
    }
}

void CMeasDlg::CenterOverView() {
    adjustSize();
    const QPoint centre = m_view->mapToGlobal(m_view->rect().center());
    move(centre - QPoint(width() / 2, height() / 2));
}

void CMeasDlg::Show() {
    CenterOverView();
    show();
    raise();
}

void CMeasDlg::closeEvent(QCloseEvent* event) {
    event->ignore();
}
