#pragma once

#include "BatchWindow.h"
#include "LogWalk.h"
#include "RunSettings.h"
#include "batch/Messages.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace tarnwick {

// Where a batch tells of each file it did not convert.
using BatchReport = std::function<void(const Problem &problem)>;

// How a batch takes the paths it is given: which files of a folder are its logs, where the
// outputs go, and how many logs are converted at once.
struct BatchPlan {
    LogChoice logs;
    QString outputFolder; // empty: each output beside its log
    int jobs = 1;
};
BatchPlan batchPlanOf(const SettingsInForce &settings);

// Why the batch cannot begin: an output folder that cannot be made, or that is inside a folder of
// logs it reads (its outputs would be logs of the next run); made when it is missing.
std::optional<Problem> outputFolderRefusal(const BatchPlan &plan, const QStringList &given);

// Converts each log the paths stand for (see LogWalk) in turn, as if it had been typed into the
// source box and the convert button pressed, then ends the program with the exit button. The
// user may abort a file (the batch goes on with the next) or close the window (the batch ends
// there, and each log not yet converted is reported). An empty path is refused by the run and
// does not count. Where the window gives each log's conversion (conversionOf) and the plan has
// several jobs, that many logs are converted at once; what is told of each still comes in the
// order of the logs, and a log that reads or writes what another being converted writes waits
// for it, so the files end as they would one log at a time.
// With `summarise`, the window says at the end, in one box, what was converted and what was not:
// for a batch started from the desktop, whose standard error nobody reads.
// Returns the exit status: 0 when every log was converted, 1 when one was not, 2 when the output
// folder refused the batch, the signal's (exitStatusOf) when an ending signal arrived.
// The files in `refused` were given but are not converted: they are told first, and counted.
int runBatch(BatchWindow &window, const QStringList &paths, const BatchPlan &plan, const BatchReport &report, bool summarise = false,
             const QList<Problem> &refused = {});

// The command line's logs as the batch takes them: the list as the system gave it, so that any
// name works (a quotation mark in it too), each file not converted told on standard error, the
// command line's `refused` first.
int runBatchOfLogs(BatchWindow &window, const QStringList &logs, const BatchPlan &plan, const QList<Problem> &refused, bool summarise);

} // namespace tarnwick
