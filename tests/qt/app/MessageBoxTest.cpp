// The application's message box: questions always wait; plain messages close by themselves only
// while the station runs unattended.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "app/QtMessageBox.h"
#include "tests/support/qt/AppHarness.h"

namespace {

// Answers the next message box after delayMs (with its default button), as a user would.
void AnswerLater(int delayMs, bool& answered) {
    QTimer::singleShot(delayMs, [&answered] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            answered = true;
            box->defaultButton()->click();
        }
    });
}

}  // namespace

TEST(MessageBox, PlainMessagesCloseByThemselvesOnlyWhileUnattended) {
    apptest::Application();
    CQtMessageBox messages(Language::English);
    bool unattended = true;
    messages.SetUnattended([&unattended] { return unattended; }, 100);

    // A safety net in case the box stays: a user's click after 5 s.
    bool rescued = false;
    QTimer safety;
    safety.setSingleShot(true);
    QObject::connect(&safety, &QTimer::timeout, [&rescued] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            rescued = true;
            box->defaultButton()->click();
        }
    });
    safety.start(5000);
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(messages.Show("ZEB Com. Error", IMessageBox::Buttons::Ok), IMessageBox::Answer::Ok);
    safety.stop();
    EXPECT_LT(clock.elapsed(), 4000);
    EXPECT_FALSE(rescued);

    bool answered = false;
    // A question is never answered for the user, unattended or not.
    AnswerLater(400, answered);
    clock.restart();
    EXPECT_EQ(messages.Show("Stop Interval Measurement.", IMessageBox::Buttons::OkCancel),
              IMessageBox::Answer::Ok);
    EXPECT_TRUE(answered);
    EXPECT_GE(clock.elapsed(), 350);

    // With someone at the window, a plain message waits for them too.
    unattended = false;
    answered = false;
    AnswerLater(400, answered);
    EXPECT_EQ(messages.Show("Error! (File Save)", IMessageBox::Buttons::Ok),
              IMessageBox::Answer::Ok);
    EXPECT_TRUE(answered);
}
