// Several logs dropped on the window, or a folder of them: converted as a batch does, as many at
// once as the batch would.

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

std::optional<tarnwick::Conversion> frmTarnwick::conversionOf(const tarnwick::WalkedLog &log)
{
    if (log.path.isEmpty())
        return std::nullopt;
    const tarnwick::OutputNaming naming{KeepDotsOn, OutExt, OutputFolder, log.tree};
    tarnwick::RunOptions options = runOptions();
    options.naming = naming;
    const tarnwick::RunPaths paths{log.path, OverWriteOn ? log.path : naming.outputOf(log.path), TempFile, TempFallback};
    return tarnwick::Conversion{paths.source, paths.output, ScrollOn,
                                [rule = characterRule_, paths, options](tarnwick::BatchOutputs &outputs, tarnwick::ApartHost &host) mutable {
                                    options.batch = &outputs;
                                    tarnwick::ConversionRun run(paths, rule, host, options);
                                    host.attach(run);
                                    return run.run();
                                }};
}

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

} // namespace

void frmTarnwick::convertDropped(const QStringList &paths)
{
    // One conversion at a time: a drop while one runs is not taken.
    if (activeRun_ || activeRuns_) {
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
        Label4->setText(QCoreApplication::translate("tarnwick", "%1 / %2 files").arg(numbers.toString(done), numbers.toString(total)));
    };
    tarnwick::ParallelRuns runs(
        plan.jobs,
        [&](const tarnwick::WalkedLog &log, const std::optional<tarnwick::RunOutcome> &outcome) {
            done += log.problem ? 0 : 1;
            showDone();
            if (log.problem)
                summary.problems.append(*log.problem);
            else if (outcome && outcome->status == tarnwick::RunOutcome::Status::Completed)
                summary.outputs.append(outcome->output);
            else if (outcome && outcome->status == tarnwick::RunOutcome::Status::Failed)
                summary.problems.append(tarnwick::problemOf(*outcome));
        },
        [&] {
            if (activeRuns_)
                showProgress(activeRuns_->progress());
            QApplication::processEvents();
        });
    activeRuns_ = &runs;
    dropAborted_ = false;
    Command1->setEnabled(false);
    Command2->setText(captions::abort());
    showDone();
    tarnwick::LogWalk walk(paths, plan.logs);
    while (!dropAborted_) {
        const auto log = walk.next();
        if (!log)
            break;
        runs.add(*log, log->problem ? std::nullopt : conversionOf(*log));
    }
    runs.finish();
    activeRuns_ = nullptr;
    Command1->setText(captions::convert());
    Command1->setFont(font());
    Command2->setText(captions::exit());
    Command1->setEnabled(true);
    Command2->setEnabled(true);

    // Japanese sentences follow each other without a blank.
    const auto joined = [](const QString &first, const QString &second) {
        return first.isEmpty() ? second : first + (first.endsWith(u'。') ? QString() : u" "_s) + second;
    };
    const QString converted = QCoreApplication::translate("tarnwick", "Logs converted: %1.").arg(numbers.toString(summary.outputs.size()));
    QString status = converted;
    QString detail;
    if (dropAborted_) {
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
        return;
    }
    if (!summary.problems.isEmpty())
        dialogs.showFailure(this, tarnwick::batchSummaryText(summary, tarnwick::Language::Japanese));
}
