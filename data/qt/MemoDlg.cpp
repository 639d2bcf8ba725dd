// CMemoDlg: the "Data Memo" dialog that asks for the memo written with saved data.
#include "data/qt/MemoDlg.h"

#include <QLineEdit>

#include "document/qt/DialogExchange.h"
#include "document/qt/DialogTemplate.h"
#include "resources/DialogTexts.h"

CMemoDlg::CMemoDlg(Language language, QWidget* parent)
    : CExchangeDialog(parent), m_language(language) {
    const CDialogTemplate t(*this, language, 174, 45);
    setWindowTitle(QString::fromUtf8(LoadDialogText(DialogTextId::DataMemoTitle, language)));
    m_memoEdit = new QLineEdit(this);
    t.Place(m_memoEdit, {5, 5, 165, 14}, IDC_MEMO);
    m_memoEdit->setAccessibleName(windowTitle());
    t.PlaceOkCancel(DialogTextId::Ok, {115, 25, 25, 14}, DialogTextId::DataMemoCancel,
                    {145, 25, 25, 14});
}

bool CMemoDlg::Run(std::string& memo, Language language, QWidget* parent) {
    CMemoDlg dlg(language, parent);
    dlg.m_strMemo = memo;
    if (dlg.exec() != QDialog::Accepted) {
        return false;
    }
    memo = dlg.m_strMemo;
    return true;
}

bool CMemoDlg::DoDataExchange(bool save) {
    return CDialogExchange(*this, m_language, save).Text(m_memoEdit, m_strMemo, kMaxMemoChars);
}
