#include "RunningProgram.h"

#include <QDir>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <cstdio>

// windows.h first: shellapi.h needs its types.
#include <windows.h>

#include <shellapi.h>

namespace tarnwick {

QList<ProgramArgument> programArguments(int, char *[])
{
    QList<ProgramArgument> arguments;
    int count = 0;
    if (wchar_t **split = CommandLineToArgvW(GetCommandLineW(), &count)) {
        for (int i = 1; i < count; ++i)
            arguments.append({QString::fromWCharArray(split[i]), true, {}});
        LocalFree(split);
    }
    return arguments;
}

// Standard handles that a caller redirected stay as they are; the others go to the parent's
// console, if there is one.
void useParentConsole()
{
    const auto redirected = [](DWORD which) {
        const HANDLE handle = GetStdHandle(which);
        return handle != nullptr && handle != INVALID_HANDLE_VALUE && GetFileType(handle) != FILE_TYPE_UNKNOWN;
    };
    const bool output = redirected(STD_OUTPUT_HANDLE);
    const bool error = redirected(STD_ERROR_HANDLE);
    if ((output && error) || !AttachConsole(ATTACH_PARENT_PROCESS))
        return;
    FILE *reopened = nullptr;
    if (!output)
        freopen_s(&reopened, "CONOUT$", "w", stdout);
    if (!error)
        freopen_s(&reopened, "CONOUT$", "w", stderr);
}

bool standardErrorIsRead()
{
    const HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    if (error == nullptr || error == INVALID_HANDLE_VALUE)
        return false;
    DWORD mode = 0;
    const DWORD type = GetFileType(error);
    return GetConsoleMode(error, &mode) || type == FILE_TYPE_DISK || type == FILE_TYPE_PIPE;
}

// A service or a scheduled task runs on a desktop nobody sees.
bool displayExpected()
{
    USEROBJECTFLAGS flags{};
    return GetUserObjectInformationW(GetProcessWindowStation(), UOI_FLAGS, &flags, sizeof flags, nullptr) && (flags.dwFlags & WSF_VISIBLE);
}

QByteArray platformsWithFallback()
{
    return {};
}

QString displayName()
{
    return QStringLiteral("Windows");
}

QString userConfigurationFolder()
{
    return QDir::toNativeSeparators(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)) + QDir::separator();
}

// Asked by creating a file: a folder's attributes say nothing of what its protection allows
// (C:\Program Files is not read-only, but only administrators may write there).
bool folderIsWritable(const QString &folder)
{
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral("Tarnwick-probe-XXXXXX")));
    return probe.open();
}

QByteArray nativeLineBreak()
{
    return "\r\n";
}

} // namespace tarnwick
