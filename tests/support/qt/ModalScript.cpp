// ModalScript: answers the modal windows a test opens, one step for each window shown, in order.
#include "tests/support/qt/ModalScript.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QEvent>
#include <QWidget>

namespace {

constexpr int kPollMs = 5;
constexpr qint64 kDeadlineMs = 30000;

}  // namespace

ModalScript::ModalScript() {
    m_clock.start();
    QObject::connect(&m_timer, &QTimer::timeout, [this] { Poll(); });
    m_timer.start(kPollMs);
}

ModalScript::~ModalScript() {
    EXPECT_TRUE(m_steps.empty()) << m_steps.size() << " modal step(s) never ran";
}

ModalScript& ModalScript::Then(Step step) {
    m_steps.push_back(std::move(step));
    return *this;
}

bool ModalScript::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Hide && watched == m_handled) {
        watched->removeEventFilter(this);
        m_handled = nullptr;
    }
    return false;
}

void ModalScript::Poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal == nullptr || modal == m_handled) {
        m_candidate = nullptr;
        return;
    }
    // Act on a window only when a second poll still finds it: a dialog that comes back to the
    // top for a moment while it closes (a file dialog after its overwrite question) is gone then.
    if (modal != m_candidate) {
        m_candidate = modal;
        return;
    }
    m_candidate = nullptr;
    m_handled = modal;
    const bool late = m_clock.elapsed() > kDeadlineMs;
    if (m_steps.empty() || late) {
        ADD_FAILURE() << (late ? "deadline passed at " : "no step for modal window ")
                      << modal->metaObject()->className() << " \""
                      << modal->windowTitle().toStdString() << "\"";
        m_steps.clear();
        if (auto* dialog = qobject_cast<QDialog*>(modal)) {
            dialog->reject();
        } else {
            modal->close();
        }
        return;
    }
    modal->installEventFilter(this);
    // Run outside this timer's handler: the step may open a window with its own event loop.
    QTimer::singleShot(0, modal, [step = std::move(m_steps.front()), target = QPointer(modal)] {
        if (target != nullptr) {
            step(target);
        }
    });
    m_steps.pop_front();
}
