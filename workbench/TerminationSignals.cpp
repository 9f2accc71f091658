#include "workbench/TerminationSignals.h"

#include <QSocketNotifier>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr int handled[] = {SIGTERM, SIGINT, SIGHUP};

// The handler may only write: the signal's number goes through a socket to the event loop.
int socketPair[2] = {-1, -1};

void passOn(int signalNumber)
{
    const unsigned char number = static_cast<unsigned char>(signalNumber);
    static_cast<void>(::write(socketPair[0], &number, 1));
}

void setAction(void (*action)(int))
{
    struct sigaction how = {};
    how.sa_handler = action;
    sigemptyset(&how.sa_mask);
    how.sa_flags = SA_RESTART;
    for (int signalNumber : handled)
        sigaction(signalNumber, &how, nullptr);
}

} // namespace

TerminationSignals::TerminationSignals(QObject* parent)
    : QObject(parent)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, socketPair) != 0)
        return;
    notifier = new QSocketNotifier(socketPair[1], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &TerminationSignals::Read);
    setAction(&passOn);
}

TerminationSignals::~TerminationSignals()
{
    if (!notifier)
        return;
    setAction(SIG_DFL);
    delete notifier;
    ::close(socketPair[0]);
    ::close(socketPair[1]);
    socketPair[0] = socketPair[1] = -1;
}

void TerminationSignals::Read()
{
    unsigned char number = 0;
    if (::read(socketPair[1], &number, 1) == 1)
        emit Received(number);
}

#else

TerminationSignals::TerminationSignals(QObject* parent)
    : QObject(parent)
{}

TerminationSignals::~TerminationSignals() = default;

void TerminationSignals::Read() {}

#endif
