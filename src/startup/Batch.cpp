#include "Batch.h"

#include "platform/EndingSignals.h"
#include "window/frmTarnwick.h"

#include <QApplication>
#include <QDir>

using namespace Qt::StringLiterals;

namespace tarnwick {

int runBatch(frmTarnwick &form, const QStringList &paths, const BatchReport &report, bool summarise)
{
    QList<Problem> problems;
    const auto tell = [&](const Problem &problem) {
        report(problem);
        problems.append(problem);
    };
    // Failures go to the batch's report, not into a message box that nobody may be there to close.
    const auto showFailure = std::exchange(form.dialogs.showFailure, [&](QWidget *, const QString &message) {
        tell({form.Text1->text(), message, message});
    });
    BatchOutputs outputs;
    form.batchOutputs = &outputs;
    form.show();
    QApplication::processEvents();
    bool allConverted = true;
    qsizetype next = 0;
    for (; next < paths.size() && form.isVisible() && endingSignal() == 0; ++next) {
        const QString &path = paths[next];
        form.Text1->setText(path);
        QApplication::processEvents();
        if (!form.isVisible() || endingSignal() != 0)
            break;
        const auto outcome = form.Command1_Click();
        if (outcome && outcome->status == RunOutcome::Status::Failed)
            tell(problemOf(*outcome));
        if (outcome && outcome->status == RunOutcome::Status::Aborted && endingSignal() == 0)
            tell(problemOf(QDir::toNativeSeparators(path), NotConverted::Aborted));
        allConverted = allConverted && (!outcome || outcome->status == RunOutcome::Status::Completed);
        QApplication::processEvents();
    }
    form.dialogs.showFailure = showFailure;
    form.batchOutputs = nullptr;
    if (const int signal = endingSignal())
        return 128 + signal;
    for (; next < paths.size(); ++next) {
        if (!paths[next].isEmpty())
            tell(problemOf(QDir::toNativeSeparators(paths[next]), NotConverted::BatchEnded));
        allConverted = false;
    }
    if (summarise && !problems.isEmpty()) {
        QString list = notConvertedHeading(Language::Japanese);
        for (const Problem &problem : problems)
            list += u"\n"_s + problem.file + u": "_s + problem.japanese;
        form.dialogs.showFailure(&form, list);
    }
    if (form.isVisible())
        form.Command2_Click();
    return allConverted ? 0 : 1;
}

} // namespace tarnwick
