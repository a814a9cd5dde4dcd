#include "EndingSignals.h"

#include <QFile>
#include <QSocketNotifier>

#include <array>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <limits.h>
#include <unistd.h>

namespace tarnwick {

namespace {

volatile std::sig_atomic_t arrived = NoEndingSignal; // an EndingSignal

// What the signal path may read: names in fixed buffers, each valid while its flag is set.
struct Registered {
    char name[PATH_MAX + 1] = {};
    volatile std::sig_atomic_t set = 0;
};
std::array<Registered, 2 * mostRunsAtOnce> leftBehind;
thread_local int place = 0;

constexpr unsigned graceSeconds = 1;

// The signal path writes a byte here to wake an event loop that waits (see watchEndingSignals).
int wakeUp[2] = {-1, -1};

extern "C" void endNow(int)
{
    // Only the program's own alarm, which an ending signal set, ends it.
    if (arrived == 0)
        return;
    for (const Registered &file : leftBehind) {
        if (file.set)
            ::unlink(file.name);
    }
    ::_exit(exitStatusOf(static_cast<EndingSignal>(arrived)));
}

extern "C" void noteSignal(int number)
{
    if (arrived == 0) {
        arrived = number == SIGINT ? Interrupt : number == SIGHUP ? HangUp : Terminate;
        ::alarm(graceSeconds);
        // The code the signal interrupted may be about to read errno.
        const int savedErrno = errno;
        if (wakeUp[1] >= 0)
            [[maybe_unused]] const auto written = ::write(wakeUp[1], "", 1);
        errno = savedErrno;
    }
}

} // namespace

void catchEndingSignals()
{
    if (wakeUp[0] < 0 && ::pipe2(wakeUp, O_CLOEXEC | O_NONBLOCK) != 0)
        wakeUp[0] = wakeUp[1] = -1;
    struct sigaction action {};
    action.sa_handler = noteSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int number : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(number, &action, nullptr);
    action.sa_handler = endNow;
    ::sigaction(SIGALRM, &action, nullptr);
}

EndingSignal endingSignal()
{
    return static_cast<EndingSignal>(arrived);
}

std::unique_ptr<QObject> watchEndingSignals(std::function<void()> then)
{
    // The byte stays unread, so that every watch sees it; a watch that has told of it stops
    // listening, which the byte would otherwise wake again and again.
    auto notifier = std::make_unique<QSocketNotifier>(wakeUp[0], QSocketNotifier::Read);
    QObject::connect(notifier.get(), &QSocketNotifier::activated, notifier.get(), [then, watch = notifier.get()] {
        watch->setEnabled(false);
        then();
    });
    return notifier;
}

void removeOnForcedEnd(LeftBehind which, const QString &path)
{
    Registered &file = leftBehind[static_cast<std::size_t>(2 * place) + static_cast<std::size_t>(which)];
    file.set = 0;
    const QByteArray name = QFile::encodeName(path);
    if (name.isEmpty() || name.size() > PATH_MAX)
        return;
    std::memcpy(file.name, name.constData(), static_cast<std::size_t>(name.size()) + 1);
    file.set = 1;
}

void useForcedEndPlace(int newPlace)
{
    place = newPlace;
}

} // namespace tarnwick
