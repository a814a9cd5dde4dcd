#include "Batch.h"

#include "ParallelRuns.h"
#include "StandardError.h"
#include "platform/EndingSignals.h"
#include "platform/Folders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>


using namespace Qt::StringLiterals;

namespace tarnwick {

BatchPlan batchPlanOf(const SettingsInForce &settings)
{
    return {settings.logs, settings.outputFolder, settings.jobs};
}

namespace {

// Whether the folder at `path`, or a folder above it, is `folder`; a folder not yet made is
// looked for by the folders above it.
bool isAtOrBelow(const QString &path, const FileIdentity &folder, bool below)
{
    QString at = QDir::cleanPath(QDir(path).absolutePath());
    for (;;) {
        if (const auto identity = fileIdentity(at); identity && *identity == folder)
            return true;
        const QString above = QFileInfo(at).absolutePath();
        if (above == at || !below)
            return false;
        at = above;
    }
}

// What the batch tells of one log and whether it counts as converted.
class Telling {
public:
    Telling(const BatchReport &report, BatchSummary &summary)
        : report_(report)
        , summary_(summary)
    {
    }

    void tell(const Problem &problem)
    {
        report_(problem);
        summary_.problems.append(problem);
        allConverted_ = false;
    }

    void outcome(const QString &path, const std::optional<RunOutcome> &outcome)
    {
        const QString shown = QDir::toNativeSeparators(path);
        if (outcome && outcome->status == RunOutcome::Status::Completed)
            summary_.outputs.append(QDir::toNativeSeparators(outcome->output));
        if (outcome && outcome->status == RunOutcome::Status::Failed)
            tell(problemOf(*outcome));
        for (const Problem &note : outcome ? notesOf(shown, *outcome) : QList<Problem>())
            report_(note);
        if (outcome && outcome->status == RunOutcome::Status::Aborted && !endingSignal())
            tell(problemOf(shown, NotConverted::Aborted));
        allConverted_ = allConverted_ && (!outcome || outcome->status == RunOutcome::Status::Completed);
    }

    void leftOut() { allConverted_ = false; }
    bool allConverted() const { return allConverted_; }

private:
    const BatchReport &report_;
    BatchSummary &summary_;
    bool allConverted_ = true;
};

// One log at a time, in the window that shows it.
void convertInTurn(BatchWindow &window, LogWalk &walk, Telling &telling)
{
    BatchOutputs outputs;
    std::optional<WalkedLog> log = walk.next();
    for (; log && window.isOpen() && !endingSignal(); log = walk.next()) {
        if (log->problem) {
            telling.tell(*log->problem);
            continue;
        }
        window.setSourcePath(log->path, log->tree);
        QCoreApplication::processEvents();
        if (!window.isOpen() || endingSignal())
            break;
        telling.outcome(log->path, window.convert(outputs));
        QCoreApplication::processEvents();
    }
    if (endingSignal())
        return;
    // The window was closed: what was left is told, log by log.
    for (; log; log = walk.next()) {
        if (log->problem)
            telling.tell(*log->problem);
        else if (!log->path.isEmpty())
            telling.tell(problemOf(QDir::toNativeSeparators(log->path), NotConverted::BatchEnded));
        else
            telling.leftOut();
    }
}

void convertAtOnce(BatchWindow &window, LogWalk &walk, int jobs, Telling &telling)
{
    ParallelRuns running(jobs, [&telling](const WalkedLog &log, const std::optional<RunOutcome> &outcome) {
        if (log.problem)
            telling.tell(*log.problem);
        else
            telling.outcome(log.path, outcome);
    });
    while (!endingSignal()) {
        const std::optional<WalkedLog> log = walk.next();
        if (!log)
            break;
        running.add(*log, log->problem ? std::nullopt : window.conversionOf(*log));
    }
    running.finish();
}

} // namespace

std::optional<Problem> outputFolderRefusal(const BatchPlan &plan, const QStringList &given)
{
    if (plan.outputFolder.isEmpty())
        return std::nullopt;
    const QString shown = QDir::toNativeSeparators(plan.outputFolder);
    for (const QString &path : given) {
        const auto folder = QFileInfo(path).isDir() ? fileIdentity(path) : std::nullopt;
        if (folder && isAtOrBelow(plan.outputFolder, *folder, plan.logs.recursive))
            return problemOf(shown, NotConverted::OutputFolderInsideLogs, QDir::toNativeSeparators(path));
    }
    if (const QString error = madeFolder(plan.outputFolder); !error.isEmpty())
        return problemOf(shown, NotConverted::OutputFolderUnusable, error);
    return std::nullopt;
}

int runBatch(BatchWindow &window, const QStringList &paths, const BatchPlan &plan, const BatchReport &report, bool summarise, const QList<Problem> &refused)
{
    BatchSummary summary;
    Telling telling(report, summary);
    for (const Problem &problem : refused)
        telling.tell(problem);
    const auto refusal = outputFolderRefusal(plan, paths);
    if (refusal)
        telling.tell(*refusal);
    else {
        window.showForBatch();
        LogWalk walk(paths, plan.logs);
        // The window shows the one log it converts; without it, the batch asks for the runs.
        if (plan.jobs > 1 && window.runsApart())
            convertAtOnce(window, walk, plan.jobs, telling);
        else
            convertInTurn(window, walk, telling);
        if (const EndingSignal signal = endingSignal())
            return exitStatusOf(signal);
    }
    if (summarise)
        window.showSummary(summary);
    if (window.isOpen())
        window.exit();
    return refusal ? 2 : telling.allConverted() ? 0 : 1;
}

int runBatchOfLogs(BatchWindow &window, const QStringList &logs, const BatchPlan &plan, const QList<Problem> &refused, bool summarise)
{
    return runBatch(window, logs, plan, reportOnStandardError, summarise, refused);
}

} // namespace tarnwick
