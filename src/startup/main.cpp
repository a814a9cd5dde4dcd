#include "Version.h"
#include "WindowSetup.h"
#include "window/frmTarnwick.h"

#include <QApplication>

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

    QApplication app(argc, argv);
    QApplication::setApplicationName(u"Tarnwick"_s);
    frmTarnwick form;
    if (const auto status = form.Form_Load(QApplication::arguments().mid(1)))
        return *status;
    form.show();
    return QApplication::exec();
}
