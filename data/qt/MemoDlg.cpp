// CMemoDlg: the "Data Memo" dialog that asks for the memo written with saved data.
#include "data/qt/MemoDlg.h"

#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

#include "document/qt/DialogExchange.h"
#include "document/qt/DialogTemplate.h"
#include "resources/DialogTexts.h"

CMemoDlg::CMemoDlg(Language language, QWidget* parent) : QDialog(parent), m_language(language) {
    const CDialogTemplate t(*this, language, 174, 45);
    setWindowTitle(QString::fromUtf8(LoadDialogText(DialogTextId::DataMemoTitle, language)));
    m_memoEdit = new QLineEdit(this);
    t.Place(m_memoEdit, {5, 5, 165, 14}, IDC_MEMO);
    m_memoEdit->setAccessibleName(windowTitle());
    auto* ok = new QPushButton(QString::fromUtf8(LoadDialogText(DialogTextId::Ok, language)), this);
    t.Place(ok, {115, 25, 25, 14}, 1);
    ok->setDefault(true);
    auto* cancel = new QPushButton(
        QString::fromUtf8(LoadDialogText(DialogTextId::DataMemoCancel, language)), this);
    t.Place(cancel, {145, 25, 25, 14}, 2);
    connect(ok, &QPushButton::clicked, this, &CMemoDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CMemoDlg::reject);
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

void CMemoDlg::accept() {
    if (DoDataExchange(true)) {
        QDialog::accept();
    }
}

void CMemoDlg::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) {
        DoDataExchange(false);
    }
    QDialog::showEvent(event);
}

bool CMemoDlg::DoDataExchange(bool save) {
    return CDialogExchange(*this, m_language, save).Text(m_memoEdit, m_strMemo, kMaxMemoChars);
}
