// Shared pieces of the dialog tests: controls by resource id, message boxes, a scratch folder.
#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <QWidget>
#include <functional>
#include <string>

#include "document/qt/DialogTemplate.h"
#include "tests/support/TestFiles.h"
#include "tests/support/qt/ModalScript.h"

// The control of a dialog named after its resource id; fails the test when it is missing.
template <class T>
T* Control(QWidget* dialog, int id) {
    T* control = dialog->findChild<T*>(CDialogTemplate::ControlName(id));
    EXPECT_NE(control, nullptr) << "no control " << id;
    return control;
}

void SetText(QWidget* dialog, int id, const QString& text);
QString TextOf(QWidget* dialog, int id);
// Clicks a button, check box or radio button the way the user does.
void Click(QWidget* dialog, int id);
// The resource id of the control holding the dialog's focus, or -1.
int FocusedId(QWidget* dialog);

// The text of a message box (empty, and a failure, for any other window).
std::string MessageText(QWidget* box);
// Answers a message box with its default (OK) button.
void PressDefault(QWidget* box);

// Script steps: press a button of the dialog (1: OK, 2: Cancel); keep a message box's text and
// answer it with its default button; look at the dialog, then press a button.
ModalScript::Step Press(int id);
ModalScript::Step Acknowledge(std::string& text);
ModalScript::Step Inspect(std::function<void(QWidget*)> look, int press = 2);

// Types path into the name field of a file dialog, as a user would, and accepts it.
void TypeIntoFileDialog(QWidget* fileDialog, const std::string& path);
