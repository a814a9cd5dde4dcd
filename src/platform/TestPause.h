#pragma once

namespace tarnwick {

// A point where a test may hold the program, so that it can act (send a signal, say) in a known
// state instead of guessing at times. Where TARNWICK_TEST_PAUSE names this point and a FIFO
// ("cleaning:/tmp/pause"), the program writes a line to the FIFO ("cleaning:" and the thread's
// id), then reads it to its end before it goes on: the test reads the line, acts, and opens the
// FIFO to write and closes it.
// Only the first arrival is held; runs on other threads that arrive meanwhile wait until it goes
// on. Elsewhere it does nothing.
void pauseForTest(const char *point);

} // namespace tarnwick
