#include "EndingSignals.h"

#include <QtGlobal>

#ifdef Q_OS_UNIX
#include <csignal>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace tarnwick {

#ifdef Q_OS_UNIX

namespace {

volatile std::sig_atomic_t arrived = 0;
int wakeUp[2] = {-1, -1};

extern "C" void noteSignal(int number)
{
    if (arrived == 0)
        arrived = number;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(wakeUp[1], &byte, 1);
}

} // namespace

void catchEndingSignals()
{
    if (wakeUp[0] < 0 && ::pipe(wakeUp) == 0) {
        for (const int fd : wakeUp) {
            ::fcntl(fd, F_SETFD, FD_CLOEXEC);
            ::fcntl(fd, F_SETFL, O_NONBLOCK);
        }
    }
    struct sigaction action {};
    action.sa_handler = noteSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int number : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(number, &action, nullptr);
}

int endingSignal()
{
    return arrived;
}

int endingSignalDescriptor()
{
    return wakeUp[0];
}

#else

void catchEndingSignals() {}

int endingSignal()
{
    return 0;
}

int endingSignalDescriptor()
{
    return -1;
}

#endif

} // namespace tarnwick
