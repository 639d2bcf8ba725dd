// CQtMessageBox: the modal message box with the application title as caption.
#include "app/QtMessageBox.h"

#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "link/IWaitPump.h"
#include "resources/DialogTexts.h"
#include "resources/StringTable.h"

IMessageBox::Answer CQtMessageBox::Show(const std::string& text, Buttons buttons) {
    const bool withCancel = buttons == Buttons::OkCancel;
    if (m_pump != nullptr && m_pump->QuitRequested()) {
        return withCancel ? Answer::Cancel : Answer::Ok;
    }
    // The system shows its exclamation icon when a message asks for none.
    QMessageBox box(QMessageBox::Warning,
                    QString::fromUtf8(LoadResString(IDS_APP_TITLE, m_language)),
                    QString::fromStdString(text), QMessageBox::NoButton, m_parent);
    QPushButton* ok = box.addButton(QString::fromUtf8(LoadDialogText(DialogTextId::Ok, m_language)),
                                    QMessageBox::AcceptRole);
    if (withCancel) {
        box.addButton(
            QString::fromUtf8(LoadDialogText(DialogTextId::MeasSettingCancel, m_language)),
            QMessageBox::RejectRole);
    }
    box.setDefaultButton(ok);
    if (!withCancel && m_unattended && m_unattended()) {
        QTimer::singleShot(m_unattendedCloseMs, &box, &QMessageBox::close);
    }
    box.exec();
    // Escape or the close box answers Cancel where there is one; a plain message has only OK.
    return !withCancel || box.clickedButton() == ok ? Answer::Ok : Answer::Cancel;
}
