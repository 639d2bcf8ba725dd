// CIntDlg: the "Interval Measurement" dialog: daily window, period, data files, memo, auto-start.
#pragma once

#include <cstdint>
#include <string>

#include "document/qt/DialogTemplate.h"
#include "document/qt/ExchangeDialog.h"
#include "resources/Language.h"
#include "resources/ResourceIds.h"

class CIntervalScheduler;
class COrvelDoc;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

class CIntDlg : public CExchangeDialog {
    Q_OBJECT

public:
    explicit CIntDlg(Language language, QWidget* parent = nullptr);

    // The Interval Meas. command (32775): shows the document's interval settings; on Start
    // copies them back, checks the user file's sensor type and the folder, and when they pass
    // stores the settings file and starts the schedule (true). A failed check shows its message
    // and the dialog again; Cancel ends the command (false).
    static bool Run(COrvelDoc& doc, CIntervalScheduler& scheduler, QWidget* parent);

    int64_t m_start = 0;
    int64_t m_end = 0;
    int64_t m_period = 0;
    std::string m_folder;
    int m_nameMode = 0;  // 0: user-defined file, 1: automatic daily names
    std::string m_file;
    std::string m_strMemo;
    int m_autoStart = 0;

protected:
    // Start: the spins into seconds, then the other members; a memo of more than 50
    // characters is refused and the dialog stays open.
    bool DoDataExchange(bool save) override;

private:
    void CreateTimeControls();
    void CreateFileControls();
    QSpinBox* AddSpin(int id, int x, int y, int w, int maximum, int minimum = 0);
    void FillControls();
    bool ReadControls();
    void UpdateEnabling();
    void OnFolderRef();
    void OnFileRef();

    Language m_language;
    CDialogTemplate m_template;
    QSpinBox* m_fromHour;
    QSpinBox* m_fromMinute;
    QSpinBox* m_toHour;
    QSpinBox* m_toMinute;
    QSpinBox* m_periodSpin;
    QRadioButton* m_userFile;
    QRadioButton* m_autoName;
    QLineEdit* m_fileEdit;
    QPushButton* m_fileRef;
    QLineEdit* m_folderEdit;
    QPushButton* m_folderRef;
    QLineEdit* m_memoEdit;
    QCheckBox* m_autoStartCheck;
};
