// CMeasDlg: the modeless, topmost "Meas Now" dialog showing a measurement's progress.
#include "measurement/qt/MeasDlg.h"

#include <QLabel>
#include <QPushButton>

#include "measurement/qt/ViewMessage.h"

CMeasDlg::CMeasDlg(Language language, QWidget* view)
    : CProgressDialog(language, view, DialogTextId::MeasProgressTitle,
                      DialogTextId::MeasProgressBreak, "measBreak", WM_MEAS_BREAK),
      m_text(AddLabel("progressText")) {
    m_text->setText(QString::fromUtf8(LoadDialogText(DialogTextId::MeasProgressText, language)));
    m_text->setAlignment(Qt::AlignCenter);
    m_text->setMinimumSize(200, 48);
}

void CMeasDlg::SetMessage(const std::string& text) {
    m_text->setText(QString::fromStdString(text));
    m_text->setAccessibleName(m_text->text());
    // The sequence may not return to the event loop before its next wait: paint now.
    if (isVisible()) {
        repaint();
    }
}

void CMeasDlg::Show() {
    CenterOverView();
    show();
    raise();
}
