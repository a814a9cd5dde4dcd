#include "StandardOutput.h"

#include "conversion/StreamConversion.h"
#include "platform/StandardStreams.h"

#include <QFile>


using namespace Qt::StringLiterals;

namespace tarnwick {

int convertToStandardOutput(const QStringList &logs, CharacterRule rule, const RunSettings &settings, const QString &profile,
                            const BatchReport &report)
{
    QFile output;
    if (!openStandardOutput(output)) {
        report(problemOf(u"-"_s, NotConverted::StandardOutputFailed, output.errorString()));
        return 1;
    }
    const SettingsInForce inForce = settingsInForce(settings, profile);
    StreamConversion conversion(rule, inForce.scroll, inForce.run);
    bool allConverted = true;
    for (const QString &log : logs) {
        QFile source;
        bool opened = false;
        if (log == u"-"_s) {
            opened = openStandardInput(source);
        } else {
            source.setFileName(log);
            opened = source.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
        }
        if (!opened) {
            report(problemOf(failedOutcome(RunOutcome::Failure::OpenSource, log, source.errorString())));
            allConverted = false;
            continue;
        }
        const RunOutcome outcome = conversion.run(source, log, output, u"standard output"_s);
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
