// CProgressDialog: the base of the two modeless, topmost progress dialogs: a Break button that
// posts its message to the view, centring over the view, and no way to close it but Break.
#pragma once

#include <QDialog>
#include <QEvent>

#include "resources/DialogTexts.h"
#include "resources/Language.h"

class QLabel;
class QPushButton;
class QVBoxLayout;

class CProgressDialog : public QDialog {
    Q_OBJECT
public:
    // Break posts breakMessage to view, which is also the window the dialog centres on.
    CProgressDialog(Language language, QWidget* view, DialogTextId title, DialogTextId breakText,
                    const char* breakName, QEvent::Type breakMessage);

    // Centres the dialog over the view without showing it.
    void CenterOverView();

    QPushButton* m_break;

protected:
    // A plain-text label named name, placed above the Break button.
    QLabel* AddLabel(const char* name);
    // Neither Escape nor the close box takes the dialog away while a measurement runs.
    void reject() override {}
    void closeEvent(QCloseEvent* event) override;

    QWidget* m_view;

private:
    QVBoxLayout* m_layout;
};
