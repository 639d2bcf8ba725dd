// CMemoDlg: the "Data Memo" dialog that asks for the memo written with saved data.
#pragma once

#include <string>

#include "document/qt/ExchangeDialog.h"
#include "resources/Language.h"
#include "resources/ResourceIds.h"

class QLineEdit;

class CMemoDlg : public CExchangeDialog {
    Q_OBJECT

public:
    static constexpr int kMaxMemoChars = 50;

    explicit CMemoDlg(Language language, QWidget* parent = nullptr);

    // Shows memo for editing; on OK memo holds the new text and the result is true, on Cancel
    // memo is left as it was.
    static bool Run(std::string& memo, Language language, QWidget* parent);

    std::string m_strMemo;

protected:
    // A memo of more than 50 characters is refused.
    bool DoDataExchange(bool save) override;

private:
    Language m_language;
    QLineEdit* m_memoEdit;
};
