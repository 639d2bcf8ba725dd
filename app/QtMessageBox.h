// CQtMessageBox: the modal message box with the application title as caption.
#pragma once

#include <functional>

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

    // While the predicate holds (interval measurement running unattended), a message with
    // only OK closes by itself after a minute, so an instrument fault at a remote station
    // never holds the schedule until someone comes by. Questions always wait for an answer.
    static constexpr int kUnattendedCloseMs = 60000;
    void SetUnattended(std::function<bool()> unattended, int closeMs = kUnattendedCloseMs) {
        m_unattended = std::move(unattended);
        m_unattendedCloseMs = closeMs;
    }

    Answer Show(const std::string& text, Buttons buttons) override;

private:
    std::function<bool()> m_unattended;
    int m_unattendedCloseMs = kUnattendedCloseMs;
    Language m_language;
    const IWaitPump* m_pump;
    QWidget* m_parent = nullptr;
};
