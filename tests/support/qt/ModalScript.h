// ModalScript: answers the modal windows a test opens, one step for each window shown, in order.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <deque>
#include <functional>

class QWidget;

// Each step runs on the next modal window that becomes active and stays so (a window shown
// again counts anew). Steps run from the event loop, so a step may open further modal windows. A
// modal window with no step left, or steps left after the deadline, fail the test and are closed.
class ModalScript : public QObject {
public:
    using Step = std::function<void(QWidget*)>;

    ModalScript();
    // Fails the test when steps were never used.
    ~ModalScript() override;

    ModalScript& Then(Step step);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Poll();

    QTimer m_timer;
    QElapsedTimer m_clock;
    std::deque<Step> m_steps;
    QPointer<QWidget> m_handled;
    QPointer<QWidget> m_candidate;
};
