#include "Batch.h"

#include "platform/EndingSignals.h"
#include "window/frmTarnwick.h"

#include <QApplication>
#include <QDir>

using namespace Qt::StringLiterals;

namespace tarnwick {

int runBatch(frmTarnwick &form, const QStringList &paths, const BatchReport &report)
{
    // Failures go to the batch's report, not into a message box that nobody may be there to close.
    const auto showFailure = std::exchange(form.dialogs.showFailure, [&](QWidget *, const QString &message) { report(message); });
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
            report(outcome->message);
        if (outcome && outcome->status == RunOutcome::Status::Aborted && endingSignal() == 0)
            report(u"Conversion of \"%1\" aborted"_s.arg(QDir::toNativeSeparators(path)));
        allConverted = allConverted && (!outcome || outcome->status == RunOutcome::Status::Completed);
        QApplication::processEvents();
    }
    form.dialogs.showFailure = showFailure;
    if (const int signal = endingSignal())
        return 128 + signal;
    for (; next < paths.size(); ++next) {
        if (!paths[next].isEmpty())
            report(u"\"%1\" not converted: the batch was ended"_s.arg(QDir::toNativeSeparators(paths[next])));
        allConverted = false;
    }
    if (form.isVisible())
        form.Command2_Click();
    return allConverted ? 0 : 1;
}

} // namespace tarnwick
