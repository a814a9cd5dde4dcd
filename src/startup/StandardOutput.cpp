#include "StandardOutput.h"

#include "conversion/StreamConversion.h"
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

} // namespace

int convertToStandardOutput(const QStringList &logs, CharacterRule rule, const SettingsInForce &settings, const BatchReport &report)
{
    QFile output;
    if (!openStandardOutput(output)) {
        report(standardStreamClosed(StandardStream::Output) ? problemOf(u"-"_s, NotConverted::StandardOutputClosed)
                                                            : problemOf(u"-"_s, NotConverted::StandardOutputFailed, output.errorString()));
        return 1;
    }
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
        if (const auto note = maskedNote(log, outcome))
            report(*note);
        if (outcome.status != RunOutcome::Status::Completed) {
            report(problemOf(outcome));
            allConverted = false;
            if (outcome.file != log)
                break; // standard output itself failed
        }
    }
    return allConverted ? 0 : 1;
}

} // namespace tarnwick
