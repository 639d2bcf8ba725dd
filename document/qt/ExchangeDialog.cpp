// The fill-on-show, read-on-OK cycle of the setting dialogs.
#include "document/qt/ExchangeDialog.h"

#include <QShowEvent>

void CExchangeDialog::accept() {
    if (DoDataExchange(true)) {
        QDialog::accept();
    }
}

void CExchangeDialog::showEvent(QShowEvent* event) {
    // Only when the program shows the dialog, not when the window system re-shows it.
    if (!event->spontaneous()) {
        DoDataExchange(false);
    }
    QDialog::showEvent(event);
}
