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
// active modal widget for holdMs, keeping its text (empty when it never came to that). Stops with
// the timer.
std::unique_ptr<QTimer> AnswerAfterHolding(int holdMs, QString& answered) {
    auto timer = std::make_unique<QTimer>();
    auto seen = std::make_shared<QElapsedTimer>();
    QObject::connect(timer.get(), &QTimer::timeout, [t = timer.get(), seen, holdMs, &answered] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr) {
            return;
        }
        if (!seen->isValid()) {
            seen->start();
        }
        if (seen->elapsed() >= holdMs) {
            answered = box->text();
            t->stop();
            box->defaultButton()->click();
        }
    });
    timer->start(10);
    return timer;
}

}  // namespace

TEST(MessageBox, PlainMessagesCloseByThemselvesOnlyWhileUnattended) {
    apptest::Application();
    CQtMessageBox messages(Language::English);
    bool unattended = true;
    messages.SetUnattended([&unattended] { return unattended; }, 100);
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
        // The user's click comes long after an unattended close would have been due.
        QString answered;
        const auto user = AnswerAfterHolding(c.closesItself ? 5000 : 500, answered);
        EXPECT_EQ(messages.Show(c.text, c.buttons), IMessageBox::Answer::Ok) << c.text;
        EXPECT_EQ(answered, c.closesItself ? "" : c.text);
    }
}
