#pragma once

#include "BatchWindow.h"
#include "batch/Messages.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace tarnwick {

// Where a batch tells of each file it did not convert.
using BatchReport = std::function<void(const Problem &problem)>;

// Converts each path in turn, as if it had been typed into the source box and the convert
// button pressed, then ends the program with the exit button. The user may abort a file (the
// batch goes on with the next) or close the window (the batch ends there, and each path not
// yet converted is reported). An empty path is refused by the run and does not count.
// With `summarise`, the window says at the end, in one box, what was converted and what was not:
// for a batch started from the desktop, whose standard error nobody reads.
// Returns the exit status: 0 when every path was converted, 1 when one was not, the signal's
// (exitStatusOf) when an ending signal arrived.
// The files in `refused` were given but are not converted: they are told first, and counted.
int runBatch(BatchWindow &window, const QStringList &paths, const BatchReport &report, bool summarise = false, const QList<Problem> &refused = {});

// The command line's logs as the batch takes them: the list as the system gave it, so that any
// name works (a quotation mark in it too), each file not converted told on standard error, the
// command line's `refused` first.
int runBatchOfLogs(BatchWindow &window, const QStringList &logs, const QList<Problem> &refused, bool summarise);

} // namespace tarnwick
