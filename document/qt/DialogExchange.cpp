// CDialogExchange: values between a dialog's edits and its members, with the standard checks.
#include "document/qt/DialogExchange.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <algorithm>
#include <cmath>

#include "data/CLocaleFormat.h"
#include "resources/DialogTexts.h"
#include "resources/StringTable.h"

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

QString Utf8(const char* text) {
    return QString::fromUtf8(text);
}

}  // namespace

CDialogExchange::CDialogExchange(QWidget& dialog, Language language, bool save)
    : m_dialog(dialog), m_language(language), m_save(save) {}

bool CDialogExchange::Number(QLineEdit* edit, double& value, double min, double max) {
    if (!m_save) {
        edit->setText(QString::fromStdString(FormatNumber(value)));
        return true;
    }
    if (!ParseNumber(edit->text().toStdString(), value)) {
        return Fail(edit, LoadDialogText(DialogTextId::ValidateNumber, m_language));
    }
    if (value < min || value > max) {
        const QString text = Utf8(LoadDialogText(DialogTextId::ValidateNumberRange, m_language))
                                 .arg(QString::fromStdString(FormatNumber(min)),
                                      QString::fromStdString(FormatNumber(max)));
        return Fail(edit, text.toStdString());
    }
    return true;
}

bool CDialogExchange::Text(QLineEdit* edit, std::string& value, int maxChars) {
    if (!m_save) {
        const QString text = QString::fromStdString(value);
        edit->setText(text);
        // A longer text already held stays whole (and is refused on saving); typing stops at the
        // limit.
        if (maxChars != kNoLimit) {
            edit->setMaxLength(std::max(maxChars, static_cast<int>(text.size())));
        }
        return true;
    }
    const QString text = edit->text();
    value = text.toStdString();
    if (maxChars != kNoLimit && text.size() > maxChars) {
        const QString message =
            Utf8(LoadDialogText(DialogTextId::ValidateTextLength, m_language)).arg(maxChars);
        return Fail(edit, message.toStdString());
    }
    return true;
}

bool CDialogExchange::Fail(QLineEdit* edit, const std::string& message) const {
    ShowMessage(&m_dialog, m_language, message);
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
    return false;
}

void CDialogExchange::ShowMessage(QWidget* parent, Language language, const std::string& text) {
    QMessageBox box(QMessageBox::Warning, Utf8(LoadResString(IDS_APP_TITLE, language)),
                    QString::fromStdString(text), QMessageBox::NoButton, parent);
    QPushButton* ok =
        box.addButton(Utf8(LoadDialogText(DialogTextId::Ok, language)), QMessageBox::AcceptRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    box.exec();
}

std::string CDialogExchange::FormatNumber(double value) {
    return FormatC("%.15g", value);
}

bool CDialogExchange::ParseNumber(const std::string& text, double& value) {
    const char* start = text.c_str();
    while (IsBlank(*start)) {
        ++start;
    }
    const char* end = start;
    const double parsed = ParseDoubleC(start, &end);
    if (end == start || !std::isfinite(parsed)) {
        return false;
    }
    while (IsBlank(*end)) {
        ++end;
    }
    if (end != text.c_str() + text.size()) {
        return false;
    }
    value = parsed;
    return true;
}
