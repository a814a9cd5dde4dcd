// Several logs dropped on the window, or a folder of them: converted in turn, as a batch does.

#include "frmTarnwick.h"

#include "batch/Batch.h"
#include "conversion/OutputName.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLocale>

using namespace Qt::StringLiterals;

void frmTarnwick::convertDropped(const QStringList &paths)
{
    // One conversion at a time: a drop while one runs is not taken.
    if (activeRun_ || !filesDone_.isEmpty()) {
        QApplication::beep();
        return;
    }
    tarnwick::BatchPlan plan{LogFiles, OutputFolder, 1};
    plan.logs.recursive = RecursiveOn;
    plan.logs.outputExtension = OverWriteOn ? QString() : tarnwick::bareExtension(OutExt);
    if (const auto refusal = tarnwick::outputFolderRefusal(plan, paths)) {
        dialogs.showFailure(this, refusal->file() + u"\n"_s + tarnwick::problemReason(*refusal, tarnwick::Language::Japanese));
        return;
    }
    // Counted first, for the progress of the whole.
    const QList<tarnwick::WalkedLog> logs = tarnwick::walkedLogs(paths, plan.logs);
    const QLocale numbers(QLocale::English, QLocale::UnitedStates);
    tarnwick::BatchSummary summary;
    tarnwick::BatchOutputs outputs;
    qsizetype next = 0;
    bool aborted = false;
    for (; next < logs.size() && !aborted && isVisible(); ++next) {
        const tarnwick::WalkedLog &log = logs[next];
        if (log.problem) {
            summary.problems.append(*log.problem);
            continue;
        }
        filesDone_ = QCoreApplication::translate("tarnwick", "%1 / %2 files").arg(numbers.toString(next + 1), numbers.toString(logs.size()));
        Label4->setText(filesDone_);
        setSourcePath(log.path, log.tree);
        const auto outcome = convert(outputs);
        if (!outcome)
            continue;
        if (outcome->status == tarnwick::RunOutcome::Status::Completed)
            summary.outputs.append(outcome->output);
        else if (outcome->status == tarnwick::RunOutcome::Status::Failed)
            summary.problems.append(tarnwick::problemOf(*outcome));
        else
            aborted = true;
    }
    filesDone_.clear();
    const qsizetype left = logs.size() - next;
    // Japanese sentences follow each other without a blank.
    const auto joined = [](const QString &first, const QString &second) {
        return first.isEmpty() ? second : first + (first.endsWith(u'。') ? QString() : u" "_s) + second;
    };
    const QString converted = QCoreApplication::translate("tarnwick", "Logs converted: %1.").arg(numbers.toString(summary.outputs.size()));
    QString status = converted;
    QString detail;
    if (aborted) {
        status = QCoreApplication::translate("tarnwick", "Aborted.");
        detail = joined(converted, QCoreApplication::translate("tarnwick", "Not converted: %1.").arg(numbers.toString(left + 1)));
    }
    if (!summary.problems.isEmpty()) {
        const tarnwick::Problem &first = summary.problems.first();
        detail = joined(detail, QCoreApplication::translate("tarnwick", "Failed: %1.").arg(numbers.toString(summary.problems.size())));
        detail = joined(detail, first.file() + u": "_s + tarnwick::problemReason(first, tarnwick::Language::Japanese));
    }
    showResultLine(status, detail, joined(status, detail));
    // Closed meanwhile, the window has no one to show a box to.
    if (!summary.problems.isEmpty() && isVisible())
        dialogs.showFailure(this, tarnwick::batchSummaryText(summary, tarnwick::Language::Japanese));
}
