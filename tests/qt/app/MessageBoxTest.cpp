// The application's message box: questions always wait; plain messages close by themselves only
// while the station runs unattended.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <memory>

#include "app/QtMessageBox.h"
#include "tests/support/qt/AppHarness.h"

namespace {

// Answers the next message box with its default button, as a user would, once it has been the
// active modal widget for holdMs: long past the time an unattended close would have taken.
void AnswerAfterHolding(int holdMs, bool& answered) {
    auto* timer = new QTimer;
    auto seen = std::make_shared<QElapsedTimer>();
    QObject::connect(timer, &QTimer::timeout, timer, [timer, seen, holdMs, &answered] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            return;
        }
        if (!seen->isValid()) {
            seen->start();
        }
        if (seen->elapsed() >= holdMs) {
            answered = true;
            timer->stop();
            timer->deleteLater();
            box->defaultButton()->click();
        }
    });
    timer->start(10);
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
    EXPECT_EQ(messages.Show("ZEB Com. Error", IMessageBox::Buttons::Ok), IMessageBox::Answer::Ok);
    safety.stop();
    EXPECT_FALSE(rescued);

    bool answered = false;
    // A question is never answered for the user, unattended or not.
    AnswerAfterHolding(500, answered);
    EXPECT_EQ(messages.Show("Stop Interval Measurement.", IMessageBox::Buttons::OkCancel),
              IMessageBox::Answer::Ok);
    EXPECT_TRUE(answered);

    // With someone at the window, a plain message waits for them too.
    unattended = false;
    answered = false;
    AnswerAfterHolding(500, answered);
    EXPECT_EQ(messages.Show("Error! (File Save)", IMessageBox::Buttons::Ok),
              IMessageBox::Answer::Ok);
    EXPECT_TRUE(answered);
}
