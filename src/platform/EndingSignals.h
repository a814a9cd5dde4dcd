#pragma once

#include <QString>

namespace tarnwick {

// SIGTERM, SIGINT and SIGHUP (a logout, a closed terminal, a killed display) ask the program to
// end; on Windows Ctrl+C stands for SIGINT (status 130), and Ctrl+Break, closing the console,
// logging off and shutting down for SIGTERM (143). Caught, they are only noted, so that a conversion can end the way an abort does and take
// its temporary file and unfinished output with it; the program then ends with 128 + the signal.
//
// A program that has not ended a second after the signal (it waits for a FIFO's other end, or
// works through one enormous line, where no check is reached) is ended from the signal path
// itself: it removes the files registered below and exits with the same status.
void catchEndingSignals();

// The first ending signal that arrived, or 0.
int endingSignal();

// The files of a run that a forced end removes: the run's temporary file, and the new file that
// is written beside an output and takes its place at the end. Registered by their path while
// they exist; an empty path clears the place.
enum class LeftBehind { Temporary, Replacement };
void removeOnForcedEnd(LeftBehind which, const QString &path);

} // namespace tarnwick
