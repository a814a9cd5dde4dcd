#include "Batch.h"

#include "StandardError.h"
#include "platform/EndingSignals.h"

#include <QCoreApplication>
#include <QDir>

using namespace Qt::StringLiterals;

namespace tarnwick {

int runBatch(BatchWindow &window, const QStringList &paths, const BatchReport &report, bool summarise, const QList<Problem> &refused)
{
    BatchSummary summary;
    const auto tell = [&](const Problem &problem) {
        report(problem);
        summary.problems.append(problem);
    };
    for (const Problem &problem : refused)
        tell(problem);
    BatchOutputs outputs;
    window.showForBatch();
    bool allConverted = true;
    qsizetype next = 0;
    for (; next < paths.size() && window.isOpen() && !endingSignal(); ++next) {
        const QString &path = paths[next];
        window.setSourcePath(path);
        QCoreApplication::processEvents();
        if (!window.isOpen() || endingSignal())
            break;
        const auto outcome = window.convert(outputs);
        if (outcome && outcome->status == RunOutcome::Status::Completed)
            summary.outputs.append(QDir::toNativeSeparators(outcome->output));
        if (outcome && outcome->status == RunOutcome::Status::Failed)
            tell(problemOf(*outcome));
        if (outcome && outcome->sourceGrew)
            report(problemOf(QDir::toNativeSeparators(path), NotConverted::SourceGrew));
        if (outcome && outcome->notText)
            report(problemOf(QDir::toNativeSeparators(path), NotConverted::NotText));
        if (const auto note = outcome ? maskedNote(QDir::toNativeSeparators(path), *outcome) : std::nullopt)
            report(*note);
        if (outcome && outcome->status == RunOutcome::Status::Aborted && !endingSignal())
            tell(problemOf(QDir::toNativeSeparators(path), NotConverted::Aborted));
        allConverted = allConverted && (!outcome || outcome->status == RunOutcome::Status::Completed);
        QCoreApplication::processEvents();
    }
    if (const EndingSignal signal = endingSignal())
        return exitStatusOf(signal);
    for (; next < paths.size(); ++next) {
        if (!paths[next].isEmpty())
            tell(problemOf(QDir::toNativeSeparators(paths[next]), NotConverted::BatchEnded));
        allConverted = false;
    }
    if (summarise)
        window.showSummary(summary);
    if (window.isOpen())
        window.exit();
    return allConverted && refused.isEmpty() ? 0 : 1;
}

int runBatchOfLogs(BatchWindow &window, const QStringList &logs, const QList<Problem> &refused, bool summarise)
{
    return runBatch(window, logs, reportOnStandardError, summarise, refused);
}

} // namespace tarnwick
