// COrvelDoc's save commands: Save, Save Append and Save with Count.
#include "data/AtomicFile.h"
#include "data/CountCsv.h"
#include "data/DataFileWriter.h"
#include "document/IFileDialogs.h"
#include "document/OrvelDoc.h"
#include "link/IMessageBox.h"
#include "resources/StringTable.h"

namespace {

SAVEDIALOG DataFileDialog(const std::string& initialName, Language language) {
    SAVEDIALOG dialog;
    dialog.title = LoadResString(IDS_SAVE_TITLE, language);
    dialog.filter = "Halvo Data Files(*.wsx)|*.wsx|All Files(*.*)|*.*||";
    dialog.defaultExtension = "wsx";
    dialog.initialName = initialName;
    return dialog;
}

}  // namespace

bool COrvelDoc::TakeMemo(IFileDialogs& dialogs) {
    std::string memo = m_dataMemo;
    if (!dialogs.EditMemo(memo)) {
        return false;
    }
    m_radData.m_memo = memo;
    m_dataMemo = memo;
    UpdateAllViews();
    return true;
}

void COrvelDoc::OnFileSave(IFileDialogs& dialogs) {
    const SAVEDIALOG dialog = DataFileDialog(m_saveFile, m_language);
    std::string path;
    for (;;) {
        if (!dialogs.ChooseSaveFile(dialog, path)) {
            return;
        }
        if (!FileExists(path)) {
            break;
        }
        ShowMessage(IDS_OVERWRITE_PROHIBITED);
    }
    if (TakeMemo(dialogs)) {
        SaveWholeSet(path);
    }
}

// The data set with the site it was measured at, as a new file.
void COrvelDoc::SaveWholeSet(const std::string& path) {
    m_radData.m_longitude = m_longitude;
    m_radData.m_latitude = m_latitude;
    if (m_radData.SaveFile(path.c_str()) == 0) {
        ShowMessage(IDS_FILE_SAVE_ERROR);
        return;
    }
    FinishSave(path);
}

// Cancel in "Create New File?" ends the command: nothing is written and the title, the
// remembered file name and the settings stay as they were.
void COrvelDoc::OnFileSaveAppend(IFileDialogs& dialogs) {
    if (m_radData.GetSize() == 0) {
        return;
    }
    std::string path;
    if (!dialogs.ChooseSaveFile(DataFileDialog(m_saveFile, m_language), path)) {
        return;
    }
    if (!TakeMemo(dialogs)) {
        return;
    }
    if (!FileExists(path)) {
        const auto answer = m_messageBox == nullptr
                                ? IMessageBox::Answer::Cancel
                                : m_messageBox->Show(LoadResString(IDS_CREATE_NEW_FILE, m_language),
                                                     IMessageBox::Buttons::OkCancel);
        if (answer == IMessageBox::Answer::Ok) {
            SaveWholeSet(path);
        }
        return;
    }
    if (AppendToExistingFile(path)) {
        FinishSave(path);
    }
}

// The file keeps its own header but for the memo; the latest record goes after its records.
bool COrvelDoc::AppendToExistingFile(const std::string& path) {
    CRadData file;
    file.LoadHeader(path.c_str());
    if (!SameSensorType(file, m_radData)) {
        ShowMessage(IDS_APPEND_FORMAT_DIFFERS);
        return false;
    }
    file.m_memo = m_radData.m_memo;
    if (!AddRecordToDataFile(file, path, *m_radData.GetRecord(m_radData.GetSize() - 1))) {
        ShowMessage(IDS_FILE_SAVE_ERROR);
        return false;
    }
    return true;
}

void COrvelDoc::FinishSave(const std::string& path) {
    SetTitle(path);
    SetModifiedFlag(false);
    m_saveFile = path;
    StoreSettings();
}

void COrvelDoc::OnSaveWithCount(IFileDialogs& dialogs) {
    if (m_radData.GetSize() == 0) {
        return;
    }
    SAVEDIALOG dialog;
    dialog.title = LoadResString(IDS_SAVE_TITLE, m_language);
    dialog.filter = "CSV Files(*.csv)|*.csv|All Files(*.*)|*.*||";
    dialog.defaultExtension = "csv";
    dialog.confirmOverwrite = true;
    std::string path;
    if (!dialogs.ChooseSaveFile(dialog, path)) {
        return;
    }
    std::string csv;
    if (!BuildCountCsv(m_radData, m_radData.GetSize() - 1, csv) ||
        !WriteFileAtomically(path, csv)) {
        ShowMessage(IDS_FILE_SAVE_ERROR);
    }
}
