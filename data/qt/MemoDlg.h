// CMemoDlg: the "Data Memo" dialog that asks for the memo written with saved data.
#pragma once

#include <QDialog>
#include <string>

#include "resources/Language.h"
#include "resources/ResourceIds.h"

class QLineEdit;
class QShowEvent;

class CMemoDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr int kMaxMemoChars = 50;

    explicit CMemoDlg(Language language, QWidget* parent = nullptr);

    // Shows memo for editing; on OK memo holds the new text and the result is true, on Cancel
    // memo is left as it was.
    static bool Run(std::string& memo, Language language, QWidget* parent);

    // OK: a memo of more than 50 characters is refused and the dialog stays open.
    void accept() override;

    std::string m_strMemo;

protected:
    void showEvent(QShowEvent* event) override;

private:
    bool DoDataExchange(bool save);

    Language m_language;
    QLineEdit* m_memoEdit;
};
