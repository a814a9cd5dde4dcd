#pragma once

namespace tarnwick {

// SIGTERM, SIGINT and SIGHUP (a logout, a closed terminal, a killed display) ask the program to
// end. Caught, they are only noted, so that a conversion can end the way an abort does and take
// its temporary file and unfinished output with it; the program then ends with 128 + the signal.
void catchEndingSignals();

// The first ending signal that arrived, or 0.
int endingSignal();

// A descriptor that turns readable when an ending signal arrives, for an event loop to watch;
// -1 where there is none.
int endingSignalDescriptor();

} // namespace tarnwick
