// Several logs dropped on the window, or a folder of them: converted as a batch does, one after
// another in the window that shows each, or as many at once as the batch would.

#include "frmTarnwick.h"

#include "Captions.h"
#include "batch/Batch.h"
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

// The host of a dropped log's run on a thread of its own: it shows nothing, and takes the
// window's abort at the run's next step, on the run's own thread.
class DroppedRunHost final : public tarnwick::RunHost {
public:
    DroppedRunHost(bool scroll, const std::atomic<bool> &aborted)
        : scroll_(scroll)
        , aborted_(aborted)
    {
    }
    void attach(tarnwick::ConversionRun &run) { run_ = &run; }

private:
    void showProgress(const QString &) override {}
    void processEvents() override
    {
        if (aborted_ && run_)
            run_->abort();
    }
    bool scrollOn() const override { return scroll_; }

    const bool scroll_;
    const std::atomic<bool> &aborted_;
    tarnwick::ConversionRun *run_ = nullptr;
};

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
            if (outcome && outcome->status == tarnwick::RunOutcome::Status::Completed)
                summary.outputs.append(outcome->output);
            else if (outcome && outcome->status == tarnwick::RunOutcome::Status::Failed)
                summary.problems.append(tarnwick::problemOf(*outcome));
            else if (outcome)
                aborted = true;
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
        std::optional<tarnwick::Conversion> conversion;
        if (!log->problem) {
            const tarnwick::OutputNaming naming{KeepDotsOn, OutExt, OutputFolder, log->tree};
            tarnwick::RunOptions options = runOptions();
            options.naming = naming;
            const tarnwick::RunPaths paths{log->path, OverWriteOn ? log->path : naming.outputOf(log->path), TempFile, TempFallback};
            conversion = tarnwick::Conversion{paths.source, paths.output,
                                              [rule = characterRule_, scroll = ScrollOn, paths, options, this](tarnwick::BatchOutputs &outputs) mutable {
                                                  options.batch = &outputs;
                                                  DroppedRunHost host(scroll, dropAborted_);
                                                  tarnwick::ConversionRun run(paths, rule, host, options);
                                                  host.attach(run);
                                                  return run.run();
                                              }};
        }
        runs.add(*log, std::move(conversion));
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
            if (outcome && outcome->status == tarnwick::RunOutcome::Status::Completed)
                summary.outputs.append(outcome->output);
            else if (outcome && outcome->status == tarnwick::RunOutcome::Status::Failed)
                summary.problems.append(tarnwick::problemOf(*outcome));
            else if (outcome)
                aborted = true;
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
