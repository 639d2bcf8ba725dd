// CDialogExchange: values between a dialog's edits and its members, with the standard checks.
#pragma once

#include <string>

#include "resources/Language.h"

class QLineEdit;
class QWidget;

// One exchange in one direction. Filling (save = false) writes the members into the edits;
// saving (save = true) reads and checks them. A refused value is reported in the standard
// wording, the edit gets the focus with its text selected, and the call returns false so the
// caller stops at the first offending field and keeps the dialog open.
class CDialogExchange {
public:
    CDialogExchange(QWidget& dialog, Language language, bool save);

    // A decimal number inside [min, max], limits included; shown as "%.15g".
    bool Number(QLineEdit* edit, double& value, double min, double max);
    // A text of at most maxChars characters; when filling, typing stops at that length.
    bool Text(QLineEdit* edit, std::string& value, int maxChars = kNoLimit);

    // The dialogs' message box: the application title as caption and an OK button.
    static void ShowMessage(QWidget* parent, Language language, const std::string& text);
    // "%.15g" in the C locale: 135 for 135.0, -90.01 as typed.
    static std::string FormatNumber(double value);
    // A finite decimal number with nothing but blanks around it, read in the C locale.
    static bool ParseNumber(const std::string& text, double& value);

    static constexpr int kNoLimit = -1;

private:
    bool Fail(QLineEdit* edit, const std::string& message) const;

    QWidget& m_dialog;
    Language m_language;
    bool m_save;
};
