#include "ArgumentText.h"
#include "Batch.h"
#include "CommandLine.h"
#include "StandardOutput.h"
#include "Version.h"
#include "WindowlessBatch.h"
#include "conversion/Messages.h"
#include "platform/EndingSignals.h"
#include "platform/RunningProgram.h"
#include "platform/StandardStreams.h"
#include "platform/TemporaryFile.h"
#include "settings/WinSys.h"
#include "window/ProgramFiles.h"
#include "window/WindowSetup.h"
#include "window/frmTarnwick.h"

#include <QApplication>
#include <QDir>
#include <QTimer>

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

// The toolkit tries the display's platform and falls back to none (see platformsWithFallback).
// False when there is nothing to fall back from.
bool fallBackToNoDisplay()
{
    const QByteArray platforms = platformsWithFallback();
    if (platforms.isEmpty())
        return false;
    qputenv("QT_QPA_PLATFORM", platforms);
    return true;
}

// A name as a message line shows it: a control character in it (a line break, an escape) is
// written as an escape of its own, so that a name can neither fake a line nor drive the terminal.
QString shownName(const QString &name)
{
    QString shown;
    for (const QChar c : name) {
        if (c == u'\n')
            shown += u"\\n"_s;
        else if (c == u'\t')
            shown += u"\\t"_s;
        else if (c == u'\r')
            shown += u"\\r"_s;
        else if (c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() < 0xA0))
            shown += u"\\x"_s + QString::number(c.unicode(), 16).rightJustified(2, u'0');
        else
            shown += c;
    }
    return shown;
}

void sayOnStandardError(const QString &line)
{
    std::cerr << "tarnwick: " << line.toStdString() << std::endl;
}

// A profile that is not a regular file, or is too large, is left alone, and one that is not the
// user's own to write is only read: said once, at start.
void warnOfUnusableProfile(const QString &profile)
{
    const char *source = nullptr;
    switch (WinSys::profileState(profile)) {
    case WinSys::ProfileState::NotAFile:
        source = QT_TRANSLATE_NOOP("tarnwick", "warning: the profile %1 is not a regular file; the settings are neither read from it nor kept");
        break;
    case WinSys::ProfileState::TooLarge:
        source = QT_TRANSLATE_NOOP("tarnwick", "warning: the profile %1 is larger than 1 MiB; the settings are neither read from it nor kept");
        break;
    case WinSys::ProfileState::OtherUsersFile:
        source = QT_TRANSLATE_NOOP("tarnwick", "warning: the profile %1 belongs to another user; the settings are read from it but changes are not kept");
        break;
    case WinSys::ProfileState::LinkToOtherUsersFile:
        source = QT_TRANSLATE_NOOP("tarnwick", "warning: the profile %1 is a symbolic link to another user's file; the settings are read from it but changes are not kept");
        break;
    case WinSys::ProfileState::ReadOnly:
        source = QT_TRANSLATE_NOOP("tarnwick", "warning: the profile %1 is read-only; the settings are read from it but changes are not kept");
        break;
    case WinSys::ProfileState::Missing:
    case WinSys::ProfileState::Usable:
        return;
    }
    sayOnStandardError(text(localeLanguage(), source).arg(shownName(QDir::toNativeSeparators(profile))));
}

// One line per problem, in the language of the user's locale.
void reportOnStandardError(const Problem &problem)
{
    std::cerr << "tarnwick: " << shownName(problem.file).toStdString() << ": " << problem.reason(localeLanguage()).toStdString() << std::endl;
}

// Temporary files that an earlier run could not remove (a kill -9, a power cut).
void removeLeftovers(const ProgramFolder &folder)
{
    for (const QString &used : {folder.path, folder.temporaryFolder})
        removeLeftoverTemporaryFiles(used);
}

// The logs, as the batch takes them, joined into the argument text and split into its tokens.
int runWindowBatch(BatchWindow &window, const QStringList &logs, bool summarise)
{
    QStringList unquotable;
    const QStringList tokens = batchTokens(argumentText(logs, &unquotable));
    for (const QString &path : unquotable)
        reportOnStandardError(problemOf(path, NotConverted::QuotationMark));
    const int status = runBatch(window, tokens, reportOnStandardError, summarise);
    return status == 0 && !unquotable.isEmpty() ? 1 : status;
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
        const ProgramFolder folder = runningProgramFolder();
        removeLeftovers(folder);
        const ProgramFiles files = programFiles(folder, 0);
        warnOfUnusableProfile(files.profile);
        return std::max(refusedStatus, convertToStandardOutput(line.logs, systemCharacterRule(), line.settings, files.profile, reportOnStandardError));
    }
    const bool batch = !line.logs.isEmpty() || !line.refused.isEmpty();
    // The toolkit's remarks while it looks for a display are its own; the window's remarks after
    // that are shown.
    qInstallMessageHandler(keepToolkitRemarksOffStandardError);
    bool display = displayExpected();
    if (!display && !batch) {
        QCoreApplication app(toolkitArgc, toolkitArgv);
        installJapaneseTranslations(app, false);
        sayOnStandardError(text(localeLanguage(), QT_TRANSLATE_NOOP("tarnwick", "no display to open the window on; give the logs to convert as arguments (see --help)")));
        return 2;
    }
    catchEndingSignals();
    if (!display) {
        // Nothing is shown: the batch runs without the widget stack and its fonts.
        QCoreApplication app(toolkitArgc, toolkitArgv);
        QCoreApplication::setApplicationName(u"Tarnwick"_s);
        installJapaneseTranslations(app, localeLanguage() == Language::Japanese);
        const ProgramFolder folder = runningProgramFolder();
        removeLeftovers(folder);
        const ProgramFiles files = programFiles(folder, processNumber());
        warnOfUnusableProfile(files.profile);
        WindowlessBatch window(files, settingsInForce(line.settings, files.profile), systemCharacterRule());
        return std::max(refusedStatus, runWindowBatch(window, line.logs, false));
    }
    const bool mayFallBack = fallBackToNoDisplay();

    QApplication app(toolkitArgc, toolkitArgv);
    QApplication::setApplicationName(u"Tarnwick"_s);
    // The window is Japanese, Qt's dialogs too; a batch's standard error follows the locale, and
    // Qt words some of the system's reasons itself.
    installJapaneseTranslations(app, !batch || localeLanguage() == Language::Japanese);
    if (mayFallBack && QGuiApplication::platformName() == u"offscreen"_s) {
        display = false;
        if (!batch) {
            sayOnStandardError(text(localeLanguage(), QT_TRANSLATE_NOOP("tarnwick", "cannot open the display %1 to show the window on; give the logs to convert as arguments (see --help)"))
                                   .arg(displayName()));
            return 2;
        }
        sayOnStandardError(text(localeLanguage(), QT_TRANSLATE_NOOP("tarnwick", "cannot open the display %1; converting without showing the window")).arg(displayName()));
    }
    if (!batch)
        qInstallMessageHandler(nullptr);
    // An idle window ends on an ending signal too; a tenth of a second is soon enough.
    QTimer ending;
    QObject::connect(&ending, &QTimer::timeout, &app, [] {
        if (const int signal = endingSignal())
            QCoreApplication::exit(128 + signal);
    });
    ending.start(100);

    const ProgramFolder folder = runningProgramFolder();
    removeLeftovers(folder);
    frmTarnwick form;
    form.Form_Load(folder);
    warnOfUnusableProfile(form.IniFile);
    applyRunSettings(form, line.settings);
    if (batch)
        // Started from the desktop (a menu, a file manager), standard error goes where nobody
        // reads it; a box that nobody can see (offscreen) is never waited on, and neither is one
        // where standard error is read (a terminal, a file, a pipe: a script may wait for the end).
        return std::max(refusedStatus, runWindowBatch(form, line.logs,
                                                      display && QGuiApplication::platformName() != u"offscreen"_s && !standardErrorIsRead()));
    form.show();
    return QApplication::exec();
}
