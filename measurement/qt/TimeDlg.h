// CTimeDlg: the modeless "Interval Measurement" dialog: clock, next slot, last file status.
#pragma once

#include <QDialog>

#include "measurement/IIntervalDisplay.h"
#include "resources/Language.h"

class QLabel;
class QPushButton;

class CTimeDlg : public QDialog, public IIntervalDisplay {
    Q_OBJECT
public:
    // Break posts WM_INTERVAL_BREAK to view, which is also the window the dialog centres on.
    CTimeDlg(Language language, QWidget* view);

    void SetTimeText(const std::string& text) override;
    void SetStatusText(const std::string& text) override;
    void Show() override;
    void SetTopmost(bool topmost) override;
    void Hide() override { hide(); }
    bool IsTopmost() const { return (windowFlags() & Qt::WindowStaysOnTopHint) != 0; }

    QLabel* m_time;        // static text 1018
    QLabel* m_status;      // static text 1030
    QPushButton* m_break;  // button 1005

protected:
    void reject() override {}
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* m_view;
};
