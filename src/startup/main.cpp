#include "ArgumentText.h"
#include "Batch.h"
#include "Version.h"
#include "platform/EndingSignals.h"
#include "platform/TemporaryFile.h"
#include "window/ProgramFiles.h"
#include "window/WindowSetup.h"
#include "window/frmTarnwick.h"

#include <QApplication>
#include <QSocketNotifier>

#include <cstdlib>
#include <cstring>
#include <iostream>

using namespace Qt::StringLiterals;

namespace {

const char usage[] = R"(Usage: tarnwick [LOG...]

Cleans console logs captured from network equipment: applies the BackSpaces the
device's line editor sent, drops the pager prompt lines ("<--- More --->"),
ends every line with CR LF and, with the scroll setting on, rebuilds command
lines the device scrolled sideways.

Without LOG the window opens. With LOG paths each is converted in turn, with
the settings of the window, and the program ends by itself. A path that begins
with "--" is given as "./--name". Without a display the paths are converted
without showing the window.

Options:
  --help      show this text
  --version   show the version

Exit status: 0 when every LOG was converted, 1 when one was not, 2 when there
is neither a display nor a LOG.
)";

bool hasOption(int argc, char **argv, const char *option)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], option) == 0)
            return true;
    }
    return false;
}

// In a batch, standard error carries one line for each log that was not converted; the
// toolkit's own remarks about its platform (no runtime folder, an offscreen window) would
// only bury those lines.
void keepToolkitRemarksOffStandardError(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::cerr << qPrintable(qFormatLogMessage(type, context, message)) << std::endl;
}

bool hasEnvironment(const char *name)
{
    const char *value = std::getenv(name);
    return value && *value;
}

bool displayAvailable()
{
#if defined(Q_OS_UNIX) && !defined(Q_OS_DARWIN)
    return hasEnvironment("DISPLAY") || hasEnvironment("WAYLAND_DISPLAY") || hasEnvironment("QT_QPA_PLATFORM");
#else
    return true;
#endif
}

} // namespace

int main(int argc, char *argv[])
{
    if (hasOption(argc, argv, "--help")) {
        std::cout << usage;
        return 0;
    }
    if (hasOption(argc, argv, "--version")) {
        std::cout << "Tarnwick " << tarnwick::versionText(programVersion::majorNumber, programVersion::minorNumber).toStdString() << '\n';
        return 0;
    }
    if (argc > 1)
        qInstallMessageHandler(keepToolkitRemarksOffStandardError);
    if (!displayAvailable()) {
        if (argc < 2) {
            std::cerr << "tarnwick: no display to open the window on; give the logs to convert as arguments (see --help)\n";
            return 2;
        }
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }

    tarnwick::catchEndingSignals();
    QApplication app(argc, argv);
    QApplication::setApplicationName(u"Tarnwick"_s);
    QSocketNotifier ending(tarnwick::endingSignalDescriptor(), QSocketNotifier::Read);
    QObject::connect(&ending, &QSocketNotifier::activated, &app, [] { QCoreApplication::exit(128 + tarnwick::endingSignal()); });

    const tarnwick::ProgramFolder folder = tarnwick::runningProgramFolder();
    for (const QString &used : {folder.path, folder.temporaryFolder})
        tarnwick::removeLeftoverTemporaryFiles(used);
    frmTarnwick form;
    form.Form_Load(folder);
    const QStringList arguments = QApplication::arguments().mid(1);
    if (!arguments.isEmpty()) {
        QStringList unquotable;
        const QString text = tarnwick::argumentText(arguments, &unquotable);
        const auto report = [](const QString &message) { std::cerr << "tarnwick: " << message.toStdString() << std::endl; };
        for (const QString &path : unquotable)
            report(u"Cannot take \"%1\": a path on the command line cannot hold a quotation mark"_s.arg(path));
        const int status = tarnwick::runBatch(form, tarnwick::batchTokens(text), report);
        return status == 0 && !unquotable.isEmpty() ? 1 : status;
    }
    form.show();
    return QApplication::exec();
}
