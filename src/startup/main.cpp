#include "CommandLine.h"
#include "StandardOutput.h"
#include "Version.h"
#include "WindowModule.h"
#include "batch/Batch.h"
#include "batch/StandardError.h"
#include "batch/WindowlessBatch.h"
#include "batch/Messages.h"
#include "platform/Display.h"
#include "platform/EndingSignals.h"
#include "platform/ProgramArguments.h"
#include "platform/StandardStreams.h"

#include <QCoreApplication>

#include <iostream>

using namespace Qt::StringLiterals;
using namespace tarnwick;

namespace {

// In a batch, standard error carries one line for each log that was not converted; the
// toolkit's own remarks about its platform (no runtime folder, an offscreen window) would
// only bury those lines.
void keepToolkitRemarksOffStandardError(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::cerr << qPrintable(qFormatLogMessage(type, context, message)) << std::endl;
}

} // namespace

int main(int argc, char *argv[])
{
    // The toolkit gets the program's name only: every argument is the program's own.
    char programName[] = "tarnwick";
    int toolkitArgc = 1;
    char *toolkitArgv[] = {programName, nullptr};

    holdClosedStandardStreams();
    useParentConsole();
    const CommandLine line = parseCommandLine(programArguments(argc, argv));
    switch (line.action) {
    case CommandLine::Action::Help: {
        QCoreApplication app(toolkitArgc, toolkitArgv);
        installJapaneseTranslations(app, localeLanguage() == Language::Japanese);
        std::cout << helpText(localeLanguage()).toStdString();
        return 0;
    }
    case CommandLine::Action::Version:
        std::cout << "Tarnwick " << versionText(programVersion::majorNumber, programVersion::minorNumber).toStdString() << '\n';
        return 0;
    case CommandLine::Action::UsageError: {
        QCoreApplication app(toolkitArgc, toolkitArgv);
        installJapaneseTranslations(app, false);
        sayOnStandardError(usageErrorText(line.error, localeLanguage()));
        return 2;
    }
    case CommandLine::Action::Convert:
        break;
    }
    for (const Refusal &refusal : line.refused)
        reportOnStandardError(problemOf(refusal.file, refusal.why));
    const int refusedStatus = line.refused.isEmpty() ? 0 : 1;

    if (line.toStandardOutput) {
        QCoreApplication app(toolkitArgc, toolkitArgv);
        installJapaneseTranslations(app, localeLanguage() == Language::Japanese);
        // No temporary file of its own: the text goes straight to standard output.
        const RunStart start = startRun(line.settings, 0);
        return std::max(refusedStatus, convertToStandardOutput(line.logs, systemCharacterRule(), start.settings, reportOnStandardError));
    }
    const bool batch = !line.logs.isEmpty() || !line.refused.isEmpty();
    // The toolkit's remarks while it looks for a display are its own; the window's remarks after
    // that are shown.
    qInstallMessageHandler(keepToolkitRemarksOffStandardError);
    if (displayExpected()) {
        QString reason;
        if (const WindowMain windowMain = loadWindowModule(reason))
            return std::max(refusedStatus, windowMain({line.logs, batch, line.settings}));
        QCoreApplication app(toolkitArgc, toolkitArgv);
        installJapaneseTranslations(app, false);
        sayOnStandardError(text(localeLanguage(), QT_TRANSLATE_NOOP("tarnwick", "cannot load the window: %1")).arg(reason));
        return 2;
    }
    if (!batch) {
        QCoreApplication app(toolkitArgc, toolkitArgv);
        installJapaneseTranslations(app, false);
        sayOnStandardError(text(localeLanguage(), QT_TRANSLATE_NOOP("tarnwick", "no display to open the window on; give the logs to convert as arguments (see --help)")));
        return 2;
    }
    catchEndingSignals();
    // Nothing is shown: the batch runs without the window's module, Qt Gui and Qt Widgets.
    QCoreApplication app(toolkitArgc, toolkitArgv);
    QCoreApplication::setApplicationName(u"Tarnwick"_s);
    installJapaneseTranslations(app, localeLanguage() == Language::Japanese);
    const RunStart start = startRun(line.settings, processNumber());
    WindowlessBatch window(start.files, start.settings, systemCharacterRule());
    return std::max(refusedStatus, runBatchOfLogs(window, line.logs, false));
}
