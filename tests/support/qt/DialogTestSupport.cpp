// Shared pieces of the dialog tests: controls by resource id, message boxes, a scratch folder.
#include "tests/support/qt/DialogTestSupport.h"

#include <QAbstractButton>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <filesystem>

#include "tests/support/TestRecords.h"

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

int FocusedId(QWidget* dialog) {
    const QWidget* focus = dialog->focusWidget();
    bool ok = false;
    const int id = focus != nullptr ? focus->objectName().toInt(&ok) : -1;
    return ok ? id : -1;
}

std::string MessageText(QWidget* box) {
    auto* message = qobject_cast<QMessageBox*>(box);
    EXPECT_NE(message, nullptr) << "not a message box: " << box->metaObject()->className();
    return message != nullptr ? message->text().toStdString() : std::string();
}

void PressDefault(QWidget* box) {
    auto* message = qobject_cast<QMessageBox*>(box);
    ASSERT_NE(message, nullptr);
    ASSERT_NE(message->defaultButton(), nullptr);
    message->defaultButton()->click();
}

ModalScript::Step Press(int id) {
    return [id](QWidget* dialog) { Click(dialog, id); };
}

ModalScript::Step Acknowledge(std::string& text) {
    return [&text](QWidget* box) {
        text = MessageText(box);
        PressDefault(box);
    };
}

ModalScript::Step Inspect(std::function<void(QWidget*)> look, int press) {
    return [look = std::move(look), press](QWidget* dialog) {
        look(dialog);
        Click(dialog, press);
    };
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
