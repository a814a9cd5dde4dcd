#pragma once

#include "BatchWindow.h"

#include <atomic>

namespace tarnwick {

// The conversion of a log found by the walk, to run on a thread of its own beside others, as the
// window would convert it: into the output `naming` gives in the folder given it was found in (the
// log itself where the options replace the source), through the temporary file (or the fallback).
// Its host shows nothing and lets no event run (an ending signal is seen by the run itself), takes
// `aborted`, where given, at the run's next step, and converts a source that does not look like
// text, the outcome saying so. Nothing for an empty path.
std::optional<Conversion> conversionApart(const WalkedLog &log, RunOptions options, OutputNaming naming, const QString &temporary,
                                          const QString &temporaryFallback, CharacterRule rule, bool scroll,
                                          const std::atomic<bool> *aborted = nullptr);

} // namespace tarnwick
