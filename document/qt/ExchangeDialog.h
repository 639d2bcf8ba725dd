// CExchangeDialog: a dialog whose controls show its members when it opens and are read back on
// OK; a value refused on the way back keeps it open.
#pragma once

#include <QDialog>

class QShowEvent;

class CExchangeDialog : public QDialog {
    Q_OBJECT

public:
    using QDialog::QDialog;

    // OK: closes the dialog only when every control was read back.
    void accept() override;

protected:
    // save false: members into the controls; save true: controls into the members, false (the
    // focus on the control) at the first value refused.
    virtual bool DoDataExchange(bool save) = 0;
    void showEvent(QShowEvent* event) override;
};
