// CSignalNotifier: turns SIGINT and SIGTERM into a Qt signal delivered by the event loop.
#pragma once

#include <QObject>
#include <memory>

class QSocketNotifier;

// The handler only writes the signal's number to a socket pair (all it may safely do); the
// event loop, or an instrument wait dispatching events, then emits received().
class CSignalNotifier : public QObject {
    Q_OBJECT
public:
    explicit CSignalNotifier(QObject* parent = nullptr);
    ~CSignalNotifier() override;
    // Installs the handlers; false when the socket pair or a handler could not be made.
    bool Install();

signals:
    void received(int signal);

private:
    static void Handler(int signal);
    void Drain();

    std::unique_ptr<QSocketNotifier> m_notifier;
    static int s_fds[2];
};
