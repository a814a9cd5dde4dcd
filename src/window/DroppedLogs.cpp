// Several logs dropped on the window, or a folder of them: converted as a batch does, one after
// another in the window that shows each, or as many at once as the batch would.

#include "frmTarnwick.h"

#include "Captions.h"
#include "batch/Batch.h"
#include "batch/ConversionApart.h"
#include "batch/ParallelRuns.h"
#include "conversion/OutputName.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLocale>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

// Counted before they are converted, for the progress of the whole; walked again to convert
// them, so that a folder of a million logs is never held as a list.
qsizetype countOf(const QStringList &paths, const tarnwick::LogChoice &choice)
{
    qsizetype count = 0;
    tarnwick::LogWalk walk(paths, choice);
    while (const auto log = walk.next())
        count += log->problem ? 0 : 1;
    return count;
}

// Adds what a dropped log's run did to the summary; true where it was aborted.
bool summarise(tarnwick::BatchSummary &summary, const std::optional<tarnwick::RunOutcome> &outcome)
{
    if (outcome && outcome->status == tarnwick::RunOutcome::Status::Completed)
        summary.outputs.append(outcome->output);
    else if (outcome && outcome->status == tarnwick::RunOutcome::Status::Failed)
        summary.problems.append(tarnwick::problemOf(*outcome));
    return outcome && outcome->status == tarnwick::RunOutcome::Status::Aborted;
}

} // namespace

bool frmTarnwick::convertDroppedAtOnce(tarnwick::LogWalk &walk, tarnwick::BatchSummary &summary, const std::function<void()> &oneDone)
{
    bool aborted = false;
    tarnwick::ParallelRuns runs(
        Jobs,
        [&](const tarnwick::WalkedLog &log, const std::optional<tarnwick::RunOutcome> &outcome) {
            if (log.problem) {
                summary.problems.append(*log.problem);
                return;
            }
            oneDone();
            aborted = summarise(summary, outcome) || aborted;
        },
        [] { QApplication::processEvents(); });
    activeRuns_ = &runs;
    dropAborted_ = false;
    Command1->setEnabled(false);
    Command2->setText(captions::abort());
    // The window shows the runs' state before they begin.
    QApplication::processEvents();
    while (!dropAborted_) {
        const auto log = walk.next();
        if (!log)
            break;
        const auto conversion = log->problem ? std::nullopt
                                             : tarnwick::conversionApart(*log, runOptions(), {KeepDotsOn, OutExt, OutputFolder}, TempFile, TempFallback,
                                                                         characterRule_, ScrollOn, &dropAborted_);
        runs.add(*log, conversion);
    }
    runs.finish();
    activeRuns_ = nullptr;
    Command1->setEnabled(true);
    Command2->setText(captions::exit());
    Command2->setEnabled(true);
    return aborted || dropAborted_;
}

void frmTarnwick::convertDropped(const QStringList &paths)
{
    // One conversion at a time: a drop while one runs is not taken.
    if (activeRun_ || activeRuns_ || !filesDone_.isEmpty()) {
        QApplication::beep();
        return;
    }
    tarnwick::BatchPlan plan{LogFiles, OutputFolder, Jobs};
    plan.logs.recursive = RecursiveOn;
    plan.logs.outputExtension = OverWriteOn ? QString() : tarnwick::bareExtension(OutExt);
    if (const auto refusal = tarnwick::outputFolderRefusal(plan, paths)) {
        dialogs.showFailure(this, refusal->file() + u"\n"_s + tarnwick::problemReason(*refusal, tarnwick::Language::Japanese));
        return;
    }
    const QLocale numbers(QLocale::English, QLocale::UnitedStates);
    const qsizetype total = countOf(paths, plan.logs);
    tarnwick::BatchSummary summary;
    qsizetype done = 0;
    const auto showDone = [&] {
        filesDone_ = QCoreApplication::translate("tarnwick", "%1 / %2 files").arg(numbers.toString(done), numbers.toString(total));
        Label4->setText(filesDone_);
    };
    bool aborted = false;
    tarnwick::LogWalk walk(paths, plan.logs);
    if (plan.jobs > 1) {
        showDone();
        aborted = convertDroppedAtOnce(walk, summary, [&] {
            ++done;
            showDone();
        });
    } else {
        tarnwick::BatchOutputs outputs;
        while (!aborted && isVisible()) {
            const auto log = walk.next();
            if (!log)
                break;
            if (log->problem) {
                summary.problems.append(*log->problem);
                continue;
            }
            setSourcePath(log->path, log->tree);
            showDone();
            const auto outcome = convert(outputs);
            ++done;
            aborted = summarise(summary, outcome);
        }
    }
    filesDone_.clear();

    // Japanese sentences follow each other without a blank.
    const auto joined = [](const QString &first, const QString &second) {
        return first.isEmpty() ? second : first + (first.endsWith(u'。') ? QString() : u" "_s) + second;
    };
    const QString converted = QCoreApplication::translate("tarnwick", "Logs converted: %1.").arg(numbers.toString(summary.outputs.size()));
    QString status = converted;
    QString detail;
    if (aborted) {
        status = QCoreApplication::translate("tarnwick", "Aborted.");
        detail = joined(converted, QCoreApplication::translate("tarnwick", "Not converted: %1.").arg(numbers.toString(total - summary.outputs.size())));
    }
    if (!summary.problems.isEmpty()) {
        const tarnwick::Problem &first = summary.problems.first();
        detail = joined(detail, QCoreApplication::translate("tarnwick", "Failed: %1.").arg(numbers.toString(summary.problems.size())));
        detail = joined(detail, first.file() + u": "_s + tarnwick::problemReason(first, tarnwick::Language::Japanese));
    }
    showResultLine(status, detail, joined(status, detail));
    if (closeRequested_) {
        closeRequested_ = false;
        close();
    }
    // Closed meanwhile, the window has no one to show a box to.
    if (!summary.problems.isEmpty() && isVisible())
        dialogs.showFailure(this, tarnwick::batchSummaryText(summary, tarnwick::Language::Japanese));
}
