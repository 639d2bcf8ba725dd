// The application's message box: questions always wait; plain messages close by themselves only
// while the station runs unattended.
#include <gtest/gtest.h>

#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "app/QtMessageBox.h"
#include "tests/support/qt/AppHarness.h"
#include "tests/support/qt/ModalScript.h"

TEST(MessageBox, PlainMessagesCloseByThemselvesOnlyWhileUnattended) {
    apptest::Application();
    CQtMessageBox messages(Language::English);
    bool unattended = true;
    messages.SetUnattended([&unattended] { return unattended; }, 300);
    const struct {
        const char* text;
        IMessageBox::Buttons buttons;
        bool unattended, closesItself;
    } cases[] = {
        {"ZEB Com. Error", IMessageBox::Buttons::Ok, true, true},
        {"Stop Interval Measurement.", IMessageBox::Buttons::OkCancel, true, false},
        {"Error! (File Save)", IMessageBox::Buttons::Ok, false, false},
    };
    for (const auto& c : cases) {
        unattended = c.unattended;
        // The user answers with the default button long after an unattended close was due (the
        // pending answer goes with the box when that closes it first).
        QString answered;
        ModalScript user;
        user.Then([&answered, hold = c.closesItself ? 5000 : 1000](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            ASSERT_NE(box, nullptr);
            QTimer::singleShot(hold, box, [box, &answered] {
                answered = box->text();
                box->defaultButton()->click();
            });
        });
        EXPECT_EQ(messages.Show(c.text, c.buttons), IMessageBox::Answer::Ok) << c.text;
        EXPECT_EQ(answered, c.closesItself ? "" : c.text);
    }
}
