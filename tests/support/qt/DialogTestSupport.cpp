// Shared pieces of the dialog tests: controls by resource id, message boxes, stored settings.
#include "tests/support/qt/DialogTestSupport.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

void SetText(QWidget* dialog, int id, const QString& text) {
    if (auto* edit = Control<QLineEdit>(dialog, id)) {
        edit->setText(text);
    }
}

QString TextOf(QWidget* dialog, int id) {
    auto* edit = Control<QLineEdit>(dialog, id);
    return edit != nullptr ? edit->text() : QString();
}

void Click(QWidget* dialog, int id) {
    if (auto* button = Control<QAbstractButton>(dialog, id)) {
        button->click();
    }
}

ModalScript::Step Press(int id) {
    return [id](QWidget* dialog) { Click(dialog, id); };
}

ModalScript::Step Inspect(std::function<void(QWidget*)> look, int press) {
    return [look = std::move(look), press](QWidget* dialog) {
        look(dialog);
        Click(dialog, press);
    };
}

ModalScript::Step Look(QStringList& seen, std::vector<const char*> labels, bool accept) {
    return [&seen, labels = std::move(labels), accept](QWidget* modal) {
        seen = QStringList{modal->windowTitle()};
        if (auto* combo = modal->findChild<QComboBox*>()) {
            seen << QString::number(combo->currentIndex());
            for (int i = 0; i < combo->count(); ++i) {
                seen << combo->itemText(i);
            }
        }
        for (const char* label : labels) {
            seen << modal->findChild<QLabel*>(label)->text();
        }
        auto* dialog = static_cast<QDialog*>(modal);
        accept ? dialog->accept() : dialog->reject();
    };
}

void ThenRefused(ModalScript& script, Refusal& seen, std::function<void(QWidget*)> fix, int press) {
    script
        .Then([&seen](QWidget* box) {
            auto* message = qobject_cast<QMessageBox*>(box);
            ASSERT_NE(message, nullptr) << "not a message box: " << box->metaObject()->className();
            seen.message = message->text().toStdString();
            ASSERT_NE(message->defaultButton(), nullptr);
            message->defaultButton()->click();
        })
        .Then(Inspect(
            [&seen, fix = std::move(fix)](QWidget* dialog) {
                const QWidget* focus = dialog->focusWidget();
                bool ok = false;
                const int id = focus != nullptr ? focus->objectName().toInt(&ok) : -1;
                seen.focused = ok ? id : -1;
                if (fix) {
                    fix(dialog);
                }
            },
            press));
}

void TypeIntoFileDialog(QWidget* fileDialog, const std::string& path) {
    auto* dialog = qobject_cast<QFileDialog*>(fileDialog);
    ASSERT_NE(dialog, nullptr) << "not a file dialog: " << fileDialog->metaObject()->className();
    // The dialog's own name field; selectFile() leaves it alone while it has the focus.
    auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(name, nullptr);
    name->setText(QString::fromStdString(path));
    static_cast<QDialog*>(dialog)->accept();
}

COrvelSettings StoredSettings(const COrvelSettings& settings) {
    COrvelSettings stored(settings.m_exeDir);
    stored.LoadSaveConfig(settings.m_cfgPath, COrvelSettings::kLoad);
    return stored;
}
