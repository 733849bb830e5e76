#include "app/sessionend.h"

#include <QSocketNotifier>
#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace {
constexpr std::array kSignals = {SIGTERM, SIGHUP, SIGINT};
int pipeEnds[2] = {-1, -1}; // [0] read on the window's thread, [1] written by the handler

// Async-signal-safe: one byte naming the signal, dropped if the pipe is full (a quit is
// already waiting then).
extern "C" void onQuitSignal(int sig) {
    const int saved = errno;
    const char b = char(sig);
    [[maybe_unused]] const ssize_t n = ::write(pipeEnds[1], &b, 1);
    errno = saved;
}
} // namespace

QuitRequests::QuitRequests(QObject* parent) : QObject(parent) {
    if (pipeEnds[0] >= 0)
        throw std::logic_error("QuitRequests made twice");
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, pipeEnds) != 0)
        throw std::runtime_error("Cannot watch for the desktop's quit signals.");
    notifier_ = new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &QuitRequests::readPending);
    struct sigaction sa = {};
    sa.sa_handler = onQuitSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (int sig : kSignals)
        ::sigaction(sig, &sa, nullptr);
}

QuitRequests::~QuitRequests() {
    for (int sig : kSignals)
        ::signal(sig, SIG_DFL);
    ::close(pipeEnds[0]);
    ::close(pipeEnds[1]);
    pipeEnds[0] = pipeEnds[1] = -1;
}

void QuitRequests::readPending() {
    char b[16];
    ssize_t n = 0;
    int last = 0;
    while ((n = ::read(pipeEnds[0], b, sizeof b)) > 0)
        last = static_cast<unsigned char>(b[n - 1]);
    if (last != 0)
        emit quitRequested(last);
}
