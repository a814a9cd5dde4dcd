#include "CommandLine.h"
#include "ProgramKind.h"
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

using namespace Qt::StringLiterals;
using namespace tarnwick;

namespace {

// In a batch, standard error carries one line for each log that was not converted; the
// toolkit's own remarks about its platform (no runtime folder, an offscreen window) would
// only bury those lines.
void keepToolkitRemarksOffStandardError(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        writeWords(WordsTo::Error, qFormatLogMessage(type, context, message) + u'\n');
}

// The help, the version or a usage error: on standard output or error, or, for the window
// program started from the desktop, where nobody reads them, in a message box.
int tell(const QString &words, bool problem, int status)
{
    if (showsWindow() && displayExpected() && !standardErrorIsRead()) {
        QString reason;
        const WindowModule module = loadWindowModule(reason);
        if (module && module.notice(words.trimmed(), problem))
            return status;
    }
    if (problem)
        sayOnStandardError(words);
    else
        writeWords(WordsTo::Output, words);
    return status;
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
    // The toolkit's remarks are its own, in every kind of run (the window's, after it has found its
    // display, are shown); what it must say goes the way of the program's words.
    qInstallMessageHandler(keepToolkitRemarksOffStandardError);
    const CommandLine line = parseCommandLine(programArguments(argc, argv));
    switch (line.action) {
    case CommandLine::Action::Help: {
        QString words;
        {
            QCoreApplication app(toolkitArgc, toolkitArgv);
            installJapaneseTranslations(app, localeLanguage() == Language::Japanese);
            words = helpText(localeLanguage());
        }
        return tell(words, false, 0);
    }
    case CommandLine::Action::Version:
        return tell(u"Tarnwick "_s + versionText(programVersion::majorNumber, programVersion::minorNumber) + u'\n', false, 0);
    case CommandLine::Action::UsageError: {
        QString words;
        {
            QCoreApplication app(toolkitArgc, toolkitArgv);
            installJapaneseTranslations(app, false);
            words = usageErrorText(line.error, localeLanguage());
        }
        return tell(words, true, 2);
    }
    case CommandLine::Action::Convert:
        break;
    }

    QList<Problem> refused;
    for (const Refusal &refusal : line.refused)
        refused.append(problemOf(refusal.file, refusal.why));
    // The follow mode ends only by an ending signal, which wakes it where it waits for its log.
    if (line.follow) {
        catchEndingSignals();
        QCoreApplication app(toolkitArgc, toolkitArgv);
        installJapaneseTranslations(app, localeLanguage() == Language::Japanese);
        for (const Problem &problem : refused)
            reportOnStandardError(problem);
        if (line.logs.isEmpty())
            return 1;
        const RunStart start = startRun(line.settings, 0);
        return followToStandardOutput(line.logs.first(), systemCharacterRule(), start.settings, reportOnStandardError);
    }
    if (line.toStandardOutput) {
        QCoreApplication app(toolkitArgc, toolkitArgv);
        installJapaneseTranslations(app, localeLanguage() == Language::Japanese);
        for (const Problem &problem : refused)
            reportOnStandardError(problem);
        // No temporary file of its own: the text goes straight to standard output.
        const RunStart start = startRun(line.settings, 0);
        const int status = convertToStandardOutput(line.logs, systemCharacterRule(), start.settings, reportOnStandardError);
        return std::max(refused.isEmpty() ? 0 : 1, status);
    }
    const bool batch = !line.logs.isEmpty() || !refused.isEmpty();
    if (showsWindow() && displayExpected()) {
        QString reason;
        if (const WindowModule module = loadWindowModule(reason))
            return module.main({line.logs, batch, refused, line.settings});
        QCoreApplication app(toolkitArgc, toolkitArgv);
        installJapaneseTranslations(app, false);
        sayOnStandardError(text(localeLanguage(), QT_TRANSLATE_NOOP("tarnwick", "cannot load the window: %1")).arg(reason));
        return 2;
    }
    if (!batch) {
        QCoreApplication app(toolkitArgc, toolkitArgv);
        installJapaneseTranslations(app, false);
        sayOnStandardError(showsWindow()
                               ? text(localeLanguage(), QT_TRANSLATE_NOOP("tarnwick", "no display to open the window on; give the logs to convert as arguments (see --help)"))
                               : text(localeLanguage(), QT_TRANSLATE_NOOP("tarnwick", "no log given: this program converts the logs given as arguments (see --help); tarnwick.exe shows the window")));
        return 2;
    }
    catchEndingSignals();
    // Nothing is shown: the batch runs without the window's module, Qt Gui and Qt Widgets.
    QCoreApplication app(toolkitArgc, toolkitArgv);
    QCoreApplication::setApplicationName(u"Tarnwick"_s);
    installJapaneseTranslations(app, localeLanguage() == Language::Japanese);
    const RunStart start = startRun(line.settings, processNumber());
    WindowlessBatch window(start.files, start.settings, systemCharacterRule());
    return runBatchOfLogs(window, line.logs, batchPlanOf(start.settings), refused, false);
}
