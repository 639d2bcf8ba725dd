// CComSelDlg: the "COM Port" dialog listing the serial ports that can be opened now.
#pragma once

#include <QDialog>
#include <QString>

#include "document/IPortChooser.h"
#include "link/PortMap.h"
#include "resources/Language.h"

class QComboBox;
class IWaitPump;

class CComSelDlg : public QDialog, public IPortChooser {
    Q_OBJECT
public:
    // The pump tells when the program is quitting: the dialog then answers Cancel at once.
    CComSelDlg(const CPortMap& portMap, Language language, const IWaitPump* pump = nullptr,
               QWidget* parent = nullptr);

    // Shows the dialog modally: false on Cancel; on OK port receives the chosen number (the
    // previous choice, or port unchanged, when nothing is selected).
    bool ChoosePort(int& port) override;

    // Fills the list afresh: "COM<n> (<device>)" for each port that opens now, none selected.
    void OnInitDialog();
    void accept() override;

    QComboBox* m_combo;
    int m_port = 0;
    QString m_title;

private:
    CPortMap m_portMap;
    const IWaitPump* m_pump;
};
