// CQtMessageBox: the modal message box with the application title as caption.
#pragma once

#include "link/IMessageBox.h"
#include "resources/Language.h"

class IWaitPump;
class QWidget;

class CQtMessageBox : public IMessageBox {
public:
    // The pump tells when the program is quitting: then nothing is shown and OK (or Cancel,
    // where asked) is the answer, so a quit never waits for a user.
    CQtMessageBox(Language language, const IWaitPump* pump = nullptr)
        : m_language(language), m_pump(pump) {}

    // The window the boxes are centred on; none before the main window exists.
    void SetParent(QWidget* parent) { m_parent = parent; }

    Answer Show(const std::string& text, Buttons buttons) override;

private:
    Language m_language;
    const IWaitPump* m_pump;
    QWidget* m_parent = nullptr;
};
