#include "StandardOutput.h"

#include "FollowedLog.h"

#include "batch/StandardError.h"
#include "conversion/StreamConversion.h"
#include "platform/EndingSignals.h"
#include "platform/FileIdentity.h"
#include "platform/StandardStreams.h"
#include "platform/TestPause.h"

#include <QFile>

using namespace Qt::StringLiterals;

namespace tarnwick {

namespace {

// Standard output appended to the log itself (`tarnwick -c r1.log >> r1.log`) would be read back
// as it is written, without end.
bool sameRegularFile(const std::optional<FileState> &a, const std::optional<FileState> &b)
{
    return a && b && a->kind == FileState::Kind::Regular && b->kind == FileState::Kind::Regular && a->identity == b->identity;
}

bool openOutput(QFile &output, const BatchReport &report)
{
    if (openStandardOutput(output))
        return true;
    report(standardStreamClosed(StandardStream::Output) ? problemOf(u"-"_s, NotConverted::StandardOutputClosed)
                                                        : problemOf(u"-"_s, NotConverted::StandardOutputFailed, output.errorString()));
    return false;
}

} // namespace

int convertToStandardOutput(const QStringList &logs, CharacterRule rule, const SettingsInForce &settings, const BatchReport &report)
{
    QFile output;
    if (!openOutput(output, report))
        return 1;
    const auto outputState = fileState(output);
    StreamConversion conversion(rule, settings.scroll, settings.run);
    // Where a test holds the run to see what it has loaded by then.
    pauseForTest("standard output");
    bool allConverted = true;
    for (const QString &log : logs) {
        QFile source;
        bool opened = false;
        if (log == u"-"_s) {
            opened = openStandardInput(source);
            if (!opened && standardStreamClosed(StandardStream::Input)) {
                report(problemOf(log, NotConverted::StandardInputClosed));
                allConverted = false;
                continue;
            }
        } else {
            source.setFileName(log);
            opened = source.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
        }
        if (!opened) {
            report(problemOf(failedOutcome(RunOutcome::Failure::OpenSource, log, source.errorString())));
            allConverted = false;
            continue;
        }
        if (sameRegularFile(fileState(source), outputState)) {
            report(problemOf(failedOutcome(RunOutcome::Failure::OutputIsInput, log)));
            allConverted = false;
            continue;
        }
        const RunOutcome outcome = conversion.run(source, log, output, u"standard output"_s);
        for (const Problem &note : notesOf(log, outcome))
            report(note);
        if (outcome.status != RunOutcome::Status::Completed) {
            report(problemOf(outcome));
            allConverted = false;
            if (outcome.file != log)
                break; // standard output itself failed
        }
    }
    return allConverted ? 0 : 1;
}

int followToStandardOutput(const QString &log, CharacterRule rule, const SettingsInForce &settings, const BatchReport &report)
{
    QFile output;
    if (!openOutput(output, report))
        return 1;
    FollowedLog source(log, [&log] {
        sayOnStandardError(text(localeLanguage(), QT_TRANSLATE_NOOP("tarnwick", "%1: the log was truncated; reading it again from its start")).arg(log));
    });
    if (!source.open()) {
        report(problemOf(failedOutcome(RunOutcome::Failure::OpenSource, log, source.errorString())));
        return 1;
    }
    if (sameRegularFile(fileState(source.current()), fileState(output))) {
        report(problemOf(failedOutcome(RunOutcome::Failure::OutputIsInput, log)));
        return 1;
    }
    const RunOutcome outcome = StreamConversion(rule, settings.scroll, settings.run).run(source, log, output, u"standard output"_s);
    for (const Problem &note : notesOf(log, outcome))
        report(note);
    if (outcome.status != RunOutcome::Status::Completed) {
        report(problemOf(outcome));
        return 1;
    }
    return exitStatusOf(endingSignal());
}

} // namespace tarnwick
