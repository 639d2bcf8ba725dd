// Shared pieces of the dialog tests: controls by resource id, message boxes, stored settings.
#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <QWidget>
#include <functional>
#include <string>

#include "document/OrvelSettings.h"
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

// Script steps: press a button of the dialog (1: OK, 2: Cancel); keep a message box's text and
// answer it with its default button; look at the dialog, then press a button.
ModalScript::Step Press(int id);
ModalScript::Step Acknowledge(std::string& text);
ModalScript::Step Inspect(std::function<void(QWidget*)> look, int press = 2);

// What a refused value showed: the message, then the control holding the focus in the dialog
// shown again.
struct Refusal {
    std::string message;
    int focused = -1;
};
// Script steps for a dialog whose OK was just refused: the message is kept and answered, then
// the dialog's focus is noted, fix runs on it and the button press is pressed.
void ThenRefused(ModalScript& script, Refusal& seen, std::function<void(QWidget*)> fix = {},
                 int press = 2);

// Types path into the name field of a file dialog, as a user would, and accepts it.
void TypeIntoFileDialog(QWidget* fileDialog, const std::string& path);

// The settings as read back from the settings file of these settings.
COrvelSettings StoredSettings(const COrvelSettings& settings);
