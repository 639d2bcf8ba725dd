// Shared pieces of the dialog tests: controls by resource id, message boxes, stored settings.
#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

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

// Script steps: press a button of the dialog (1: OK, 2: Cancel); look at the dialog, then press a
// button.
ModalScript::Step Press(int id);
ModalScript::Step Inspect(std::function<void(QWidget*)> look, int press = 2);
// A step keeping the modal window's title, the current index and the entries of its combo box
// when it has one, and the texts of the named labels; then it accepts or rejects the window.
ModalScript::Step Look(QStringList& seen, std::vector<const char*> labels = {},
                       bool accept = false);

// What a refused value showed: the message, then the control holding the focus in the dialog
// shown again.
struct Refusal {
    std::string message;
    int focused = -1;
};
// Script steps for a dialog whose OK was just refused: the message box's text is kept and the box
// answered with its default button, then the dialog's focus is noted, fix runs on it and the
// button press is pressed.
void ThenRefused(ModalScript& script, Refusal& seen, std::function<void(QWidget*)> fix = {},
                 int press = 2);

// Types path into the name field of a file dialog, as a user would, and accepts it.
void TypeIntoFileDialog(QWidget* fileDialog, const std::string& path);

// The settings as read back from the settings file of these settings.
COrvelSettings StoredSettings(const COrvelSettings& settings);
