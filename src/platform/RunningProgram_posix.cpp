#include "RunningProgram.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace tarnwick {

namespace {
bool hasEnvironment(const char *name)
{
    const char *value = std::getenv(name);
    return value && *value;
}
} // namespace

QList<ProgramArgument> programArguments(int argc, char *argv[])
{
    QList<ProgramArgument> arguments;
    for (int i = 1; i < argc; ++i) {
        const QByteArray bytes(argv[i]);
        const QString text = QFile::decodeName(bytes);
        arguments.append({text, QFile::encodeName(text) == bytes, bytes});
    }
    return arguments;
}

void useParentConsole() {}

bool standardErrorIsRead()
{
    struct stat status {};
    return ::isatty(STDERR_FILENO) || (::fstat(STDERR_FILENO, &status) == 0 && (S_ISREG(status.st_mode) || S_ISFIFO(status.st_mode)));
}

bool displayExpected()
{
    return hasEnvironment("DISPLAY") || hasEnvironment("WAYLAND_DISPLAY") || hasEnvironment("QT_QPA_PLATFORM");
}

QByteArray platformsWithFallback()
{
    if (hasEnvironment("QT_QPA_PLATFORM") || (!hasEnvironment("DISPLAY") && !hasEnvironment("WAYLAND_DISPLAY")))
        return {};
    const bool wayland = hasEnvironment("WAYLAND_DISPLAY") && qgetenv("XDG_SESSION_TYPE") == "wayland";
    return wayland ? "wayland;xcb;offscreen" : "xcb;wayland;offscreen";
}

QString displayName()
{
    return QString::fromLocal8Bit(qgetenv(hasEnvironment("DISPLAY") ? "DISPLAY" : "WAYLAND_DISPLAY"));
}

QString userConfigurationFolder()
{
    return QDir::toNativeSeparators(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)) + QDir::separator();
}

bool folderIsWritable(const QString &folder)
{
    return QFileInfo(folder).isWritable();
}

QByteArray nativeLineBreak()
{
    return "\n";
}

} // namespace tarnwick
