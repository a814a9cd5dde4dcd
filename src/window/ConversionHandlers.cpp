// The conversion run as the window drives it: the convert and exit buttons, the output-name
// rule, and what the run needs of the window while it goes on.

#include "frmTarnwick.h"

#include "Captions.h"
#include "TextFitting.h"
#include "batch/StandardError.h"
#include "conversion/OutputName.h"

#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QCloseEvent>
#include <QPushButton>

#include <algorithm>

using tarnwick::ConversionRun;
using tarnwick::RunOutcome;
using namespace Qt::StringLiterals;

namespace {
// Window events are let run at a progress step only when this much time has passed since the
// last time, so that fast conversions do not spend their time repainting.
constexpr qint64 eventIntervalMs = 20;
} // namespace

void frmTarnwick::Text1_Change()
{
    if (Label4->text() != description_) {
        Label4->setText(description_);
        Label4->setToolTip({});
    }
    Text1->Tag = tarnwick::outputBase(Text1->text(), KeepDotsOn);
    Text2->setText(outputNaming().outputOf(Text1->text()));
}

tarnwick::RunOptions frmTarnwick::runOptions() const
{
    return {.controlsOn = ControlsOn, .pagerPrompts = PagerPrompts, .timestamps = TimestampForms, .replacesSource = OverWriteOn, .masking = MaskOn,
            .secretShapes = SecretShapes, .encoding = Encoding, .screenHeight = ScreenRows};
}

tarnwick::OutputNaming frmTarnwick::outputNaming() const
{
    return {KeepDotsOn, OutExt, OutputFolder, Text1->text() == treePath_ ? tree_ : QString()};
}

std::optional<RunOutcome> frmTarnwick::Command1_Click()
{
    if (Text1->text().isEmpty()) {
        QApplication::beep();
        Text1->setFocus();
        return std::nullopt;
    }
    if (Text2->text().isEmpty()) {
        QApplication::beep();
        Text2->setFocus();
        return std::nullopt;
    }
    const bool focusOnConvert = Command1->hasFocus();
    Command1->setEnabled(false);
    Command2->setText(captions::abort());
    Text1->Tag = Text1->text();
    Text2->Tag = OverWriteOn ? Text1->text() : Text2->text();

    tarnwick::RunOptions options = runOptions();
    options.batch = batchOutputs_;
    options.naming = outputNaming();
    ConversionRun run({Text1->Tag, Text2->Tag, TempFile, TempFallback}, characterRule_, *this, options);
    activeRun_ = &run;
    sinceEvents_.invalidate();
    const RunOutcome outcome = run.run();
    activeRun_ = nullptr;

    Command1->setText(captions::convert());
    Command1->setFont(font());
    Command2->setText(captions::exit());
    Command1->setEnabled(true);
    Command2->setEnabled(true);
    // The focus goes back where the user left it, whichever control took it while the button
    // was disabled, and its frame shows where it is (styles draw it once the keyboard has moved
    // the focus).
    if (focusOnConvert) {
        Command1->setFocus(Qt::TabFocusReason);
        setAttribute(Qt::WA_KeyboardFocusChange);
    }
    showOutcome(outcome);
    if (closeRequested_) {
        closeRequested_ = false;
        close();
    }
    return outcome;
}

void frmTarnwick::Command2_Click()
{
    if (Command2->text() == captions::abort()) {
        Command2->setEnabled(false);
        if (activeRun_)
            activeRun_->abort();
        dropAborted_ = activeRuns_ != nullptr;
        return;
    }
    close();
}

// Closing the window during a conversion aborts it; the window closes once the run has ended.
void frmTarnwick::closeEvent(QCloseEvent *event)
{
    if (activeRun_ || activeRuns_) {
        closeRequested_ = true;
        if (Command2->isEnabled())
            Command2_Click();
        event->ignore();
        return;
    }
    unloaded_ = true;
    event->accept();
}

void frmTarnwick::showProgress(const QString &text)
{
    // Digits are as wide as each other: the font needs fitting only when the length changes.
    const bool lengthChanged = text.size() != Command1->text().size();
    Command1->setText(text);
    if (lengthChanged)
        tarnwick::fitCaption(Command1, font());
}

// Under the buttons while the first pass reads, how much of the log it has read, beside the count
// of lines on the convert button; the description again once the lines are cleaned.
void frmTarnwick::showShareRead(std::optional<int> percent)
{
    const QString read = percent ? QCoreApplication::translate("tarnwick", "Read: %1%").arg(*percent) : QString();
    // Of several logs dropped, the count of files done stays in view above it.
    const QString files = filesDone_.isEmpty() || read.isEmpty() ? filesDone_ : filesDone_ + u'\n';
    Label4->setText(files.isEmpty() && read.isEmpty() ? description_ : files + read);
    Label4->setToolTip({});
}

// Asked of the user at the window; a batch converts the file and notes it on standard error.
bool frmTarnwick::convertNonText()
{
    return batchOutputs_
        || dialogs.ask(this, QCoreApplication::translate("tarnwick", "\"%1\" does not look like a log: it holds many control bytes at its start. Convert it anyway?")
                                 .arg(Text1->Tag));
}

void frmTarnwick::processEvents()
{
    if (sinceEvents_.isValid() && sinceEvents_.elapsed() < eventIntervalMs)
        return;
    QApplication::processEvents();
    sinceEvents_.start();
}

void frmTarnwick::showForBatch()
{
    show();
    QApplication::processEvents();
}

void frmTarnwick::setSourcePath(const QString &path, const QString &tree)
{
    treePath_ = path;
    tree_ = tree;
    // The same path again may stand for another output: found in a folder, then given itself.
    if (Text1->text() == path)
        Text1_Change();
    else
        Text1->setText(path);
}

std::optional<RunOutcome> frmTarnwick::convert(tarnwick::BatchOutputs &outputs)
{
    batchOutputs_ = &outputs;
    const auto outcome = Command1_Click();
    batchOutputs_ = nullptr;
    return outcome;
}

void frmTarnwick::showSummary(const tarnwick::BatchSummary &summary)
{
    const QString words = tarnwick::batchSummaryText(summary, tarnwick::Language::Japanese);
    if (summary.problems.isEmpty())
        dialogs.showNotice(this, words);
    else
        dialogs.showFailure(this, words);
}

void frmTarnwick::showOutcome(const RunOutcome &outcome)
{
    const QString lines = QLocale(QLocale::English, QLocale::UnitedStates).toString(qulonglong(outcome.lines));
    const QString name = QFileInfo(outcome.output).fileName();
    // Each text filled in one pass (arg with both values), so that a marker in a file name stays
    // as it is.
    QString status;
    QString detail;
    QString whole;
    if (!outcome.output.isEmpty() && outcome.status == RunOutcome::Status::Completed) {
        status = QCoreApplication::translate("tarnwick", "Converted.");
        detail = QCoreApplication::translate("tarnwick", "%1 (lines: %2)").arg(name, lines);
        whole = QCoreApplication::translate("tarnwick", "Converted. Lines written to %1: %2.").arg(outcome.output, lines);
    } else if (!outcome.output.isEmpty()) {
        status = QCoreApplication::translate("tarnwick", "Aborted.");
        detail = QCoreApplication::translate("tarnwick", "%1 (lines: %2)").arg(name, lines);
        whole = QCoreApplication::translate("tarnwick", "Aborted. Lines written to %1: %2.").arg(outcome.output, lines);
    } else if (outcome.status == RunOutcome::Status::Aborted) {
        status = QCoreApplication::translate("tarnwick", "Aborted.");
        detail = QCoreApplication::translate("tarnwick", "The output is as it was.");
        whole = QCoreApplication::translate("tarnwick", "Aborted. The output is as it was.");
    } else {
        status = QCoreApplication::translate("tarnwick", "Could not convert.");
        whole = status;
    }
    if (outcome.secretsMasked && !outcome.output.isEmpty()) {
        const QString secrets = QLocale(QLocale::English, QLocale::UnitedStates).toString(qulonglong(*outcome.secretsMasked));
        detail = QCoreApplication::translate("tarnwick", "%1 (lines: %2, secrets masked: %3)").arg(name, lines, secrets);
        whole += QCoreApplication::translate("tarnwick", " Secrets masked: %1.").arg(secrets);
    }
    if (outcome.erasersLost && !outcome.output.isEmpty()) {
        const QString lost = QCoreApplication::translate("tarnwick", "Saved as plain text by the terminal program: the corrections typed were dropped and cannot be rebuilt.");
        detail += u' ' + lost;
        whole += u' ' + lost
            + QCoreApplication::translate("tarnwick", " To keep them, log with Tera Term's plain-text option off, or with PuTTY's \"All session output\".");
    }
    showResultLine(status, detail, whole);
}

// Broken between phrases, the status and then as much of the detail as the rows under it hold;
// the whole sentence in the tool tip.
void frmTarnwick::showResultLine(const QString &status, const QString &detail, const QString &whole)
{
    const QFontMetrics metrics(Label4->font());
    const QRect box = Label4->contentsRect();
    const int width = box.width() - 2;
    const int rows = std::max(2, box.height() / metrics.lineSpacing());
    const QString statusLines = tarnwick::phraseLines(tarnwick::phrasesOf(status), metrics, width, rows - 1);
    const int left = rows - int(statusLines.count(u'\n')) - 1;
    Label4->setText(detail.isEmpty() ? statusLines : statusLines + u"\n"_s + tarnwick::phraseLines(tarnwick::phrasesOf(detail), metrics, width, left));
    // The break hints of the phrases are for the lines only.
    Label4->setToolTip(QString(whole).remove(QChar(0x200B)));
}

// What went wrong is told once: in a message box, or on standard error once the window is gone.
void frmTarnwick::reportFailure(const QString &message)
{
    if (unloaded_)
        tarnwick::sayOnStandardError(message);
    else
        dialogs.showFailure(this, message);
}
