// CMeasDlg: the modeless, topmost "Meas Now" dialog showing a measurement's progress.
#pragma once

#include <QDialog>

#include "measurement/IProgressDisplay.h"
#include "resources/Language.h"

class QLabel;
class QPushButton;

class CMeasDlg : public QDialog, public IProgressDisplay {
    Q_OBJECT
public:
    // Break posts WM_MEAS_BREAK to view, which is also the window the dialog centres on.
    CMeasDlg(Language language, QWidget* view);

    void SetMessage(const std::string& text) override;
    void Show() override;
    void Hide() override { hide(); }
    // Centres the dialog over the view without showing it.
    void CenterOverView();

    QLabel* m_text;        // static text 1022
    QPushButton* m_break;  // button 1029

protected:
    // Neither Escape nor the close box takes the dialog away while a measurement runs.
    void reject() override {}
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* m_view;
};
