// The window as the program shows it, alone or for a batch: the module's one entry.

#include "MessageBoxes.h"
#include "frmTarnwick.h"

#include "batch/Batch.h"
#include "batch/ProgramFiles.h"
#include "batch/StandardError.h"
#include "batch/WindowStart.h"
#include "batch/Messages.h"
#include "platform/Display.h"
#include "platform/EndingSignals.h"
#include "platform/StandardStreams.h"

#include <QApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>
#include <QTimer>

using namespace Qt::StringLiterals;
using namespace tarnwick;

namespace {

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

} // namespace

extern "C" Q_DECL_EXPORT int tarnwickWindowMain(const WindowStart &start)
{
    // The module holds its own record of the ending signals, which its runs look at.
    catchEndingSignals();
    const bool mayFallBack = fallBackToNoDisplay();
    // The toolkit gets the program's name only: every argument is the program's own.
    char programName[] = "tarnwick";
    int toolkitArgc = 1;
    char *toolkitArgv[] = {programName, nullptr};
    QApplication app(toolkitArgc, toolkitArgv);
    QApplication::setApplicationName(u"Tarnwick"_s);
    // The window is Japanese, Qt's dialogs too; a batch's standard error follows the locale, and
    // Qt words some of the system's reasons itself.
    installJapaneseTranslations(app, !start.batch || localeLanguage() == Language::Japanese);
    bool display = true;
    if (mayFallBack && QGuiApplication::platformName() == u"offscreen"_s) {
        display = false;
        if (!start.batch) {
            sayOnStandardError(text(localeLanguage(), QT_TRANSLATE_NOOP("tarnwick", "cannot open the display %1 to show the window on; give the logs to convert as arguments (see --help)"))
                                   .arg(displayName()));
            return 2;
        }
        sayOnStandardError(text(localeLanguage(), QT_TRANSLATE_NOOP("tarnwick", "cannot open the display %1; converting without showing the window")).arg(displayName()));
    }
    if (!start.batch)
        qInstallMessageHandler(nullptr);
    // An idle window ends on an ending signal too; a tenth of a second is soon enough.
    QTimer ending;
    QObject::connect(&ending, &QTimer::timeout, &app, [] {
        if (const EndingSignal signal = endingSignal())
            QCoreApplication::exit(exitStatusOf(signal));
    });
    ending.start(100);

    const RunStart run = startRun(start.settings, processNumber());
    frmTarnwick form;
    form.Form_Load(run);
    if (start.batch)
        // Started from the desktop (a menu, a file manager), standard error goes where nobody
        // reads it; a box that nobody can see (offscreen) is never waited on, and neither is one
        // where standard error is read (a terminal, a file, a pipe: a script may wait for the end).
        return runBatchOfLogs(form, start.logs, batchPlanOf(run.settings), start.refused, display && QGuiApplication::platformName() != u"offscreen"_s && !standardErrorIsRead());
    form.show();
    return QApplication::exec();
}

// A problem (a usage error) in a message box; words laid out for a terminal (the help's columns)
// in a fixed font, unwrapped, in a box that scrolls where the screen is too small for them.
extern "C" Q_DECL_EXPORT bool tarnwickWindowNotice(const QString &words, bool problem)
{
    fallBackToNoDisplay();
    char programName[] = "tarnwick";
    int toolkitArgc = 1;
    char *toolkitArgv[] = {programName, nullptr};
    QApplication app(toolkitArgc, toolkitArgv);
    // A box nobody can see (no display could be opened) is never waited on.
    if (QGuiApplication::platformName() == u"offscreen"_s)
        return false;
    installJapaneseTranslations(app, true);
    if (problem) {
        showMessageBox(nullptr, words, QMessageBox::Warning);
        return true;
    }
    QDialog box;
    box.setWindowTitle(u"Tarnwick"_s);
    auto *text = new QPlainTextEdit(words, &box);
    text->setReadOnly(true);
    text->setLineWrapMode(QPlainTextEdit::NoWrap);
    // Japanese Windows' fixed font, in which a wide character takes two columns as the help counts
    // them; where it is missing, IPA's, then the system's fixed font.
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setFamilies({u"MS Gothic"_s, u"IPAGothic"_s, font.family()});
    text->setFont(font);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, &box);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);
    auto *layout = new QVBoxLayout(&box);
    layout->addWidget(text);
    layout->addWidget(buttons);
    const QFontMetrics metrics(text->font());
    int widest = 0;
    for (const QString &line : words.split(u'\n'))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    const QSize room = box.screen()->availableGeometry().size() * 0.9;
    box.resize(std::min(widest + 80, room.width()), std::min(int(words.count(u'\n') + 4) * metrics.lineSpacing() + 80, room.height()));
    box.exec();
    return true;
}
