#pragma once

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

namespace tarnwick {

// SIGTERM, SIGINT and SIGHUP (a logout, a closed terminal, a killed display) ask the program to
// end; on Windows Ctrl+C stands for SIGINT, and Ctrl+Break, closing the console, logging off and
// shutting down for SIGTERM. Caught, they are only noted, so that a conversion can end the way an
// abort does and take its temporary file and unfinished output with it; the program then ends
// with the signal's exit status.
//
// A program that has not ended a second after the signal (it waits for a FIFO's other end, or
// works through one enormous line, where no check is reached) is ended from the signal path
// itself: it removes the files registered below and exits with the same status.
void catchEndingSignals();

// The ending signals as the program tells them apart. None is zero, so that whether one arrived
// reads as `if (endingSignal())`.
enum EndingSignal { NoEndingSignal = 0, Interrupt, Terminate, HangUp };

// The first ending signal that arrived, or NoEndingSignal.
EndingSignal endingSignal();

// For a program that waits in its event loop (the follow mode waits there for its log to grow)
// rather than checking endingSignal() at each step: `then` is called from the calling thread's
// event loop once an ending signal has arrived, also for one that arrived before, and as long as
// the object returned lives. After catchEndingSignals().
std::unique_ptr<QObject> watchEndingSignals(std::function<void()> then);

// The exit status of a program ended by the signal: 128 and the signal's POSIX number (SIGHUP 1,
// SIGINT 2, SIGTERM 15), as shells report a program the signal ended, and on Windows too, so that
// a script reads the same status on either. Safe to call from a signal handler.
constexpr int exitStatusOf(EndingSignal signal)
{
    switch (signal) {
    case Interrupt: return 128 + 2;
    case Terminate: return 128 + 15;
    case HangUp: return 128 + 1;
    case NoEndingSignal: break;
    }
    return 0;
}

// The files of a run that a forced end removes: the run's temporary file, and the new file that
// is written beside an output and takes its place at the end. Registered by their path while
// they exist; an empty path clears the place.
enum class LeftBehind { Temporary, Replacement };
void removeOnForcedEnd(LeftBehind which, const QString &path);

// The most runs a program makes at once, each on a thread of its own, and the places of the
// files they leave behind: a thread registers its run's files in its own place (0 unless told),
// which no other thread running at the same time uses.
inline constexpr int mostRunsAtOnce = 64;
void useForcedEndPlace(int place);

} // namespace tarnwick
