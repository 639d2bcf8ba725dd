// CSignalNotifier: turns SIGINT and SIGTERM into a Qt signal delivered by the event loop.
#include "app/SignalNotifier.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <cerrno>

int CSignalNotifier::s_fds[2] = {-1, -1};

CSignalNotifier::CSignalNotifier(QObject* parent) : QObject(parent) {}

CSignalNotifier::~CSignalNotifier() {
    if (m_notifier) {
        struct sigaction dfl {};
        dfl.sa_handler = SIG_DFL;
        sigaction(SIGINT, &dfl, nullptr);
        sigaction(SIGTERM, &dfl, nullptr);
        m_notifier.reset();
        close(s_fds[0]);
        close(s_fds[1]);
        s_fds[0] = s_fds[1] = -1;
    }
}

bool CSignalNotifier::Install() {
    if (m_notifier) {
        return true;
    }
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, s_fds) != 0) {
        return false;
    }
    m_notifier = std::make_unique<QSocketNotifier>(s_fds[1], QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, [this] { Drain(); });
    struct sigaction action {};
    action.sa_handler = Handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    return sigaction(SIGINT, &action, nullptr) == 0 && sigaction(SIGTERM, &action, nullptr) == 0;
}

void CSignalNotifier::Handler(int signal) {
    const int saved = errno;
    const char number = static_cast<char>(signal);
    [[maybe_unused]] const ssize_t n = write(s_fds[0], &number, 1);
    errno = saved;
}

void CSignalNotifier::Drain() {
    char number = 0;
    while (read(s_fds[1], &number, 1) == 1) {
        emit received(number);
    }
}
