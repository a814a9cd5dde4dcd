#include "WindowModule.h"

#include <QDir>
#include <QFileInfo>

#include <windows.h>

namespace tarnwick {

namespace {

QString systemReason()
{
    wchar_t *text = nullptr;
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                        GetLastError(), 0, reinterpret_cast<wchar_t *>(&text), 0, nullptr);
    const QString reason = QString::fromWCharArray(text, int(length)).trimmed();
    LocalFree(text);
    return reason;
}

} // namespace

// By its full path beside the program, never along the search path, and with the DLLs it needs
// (Qt Gui, Qt Widgets) looked for in its own folder first.
WindowModule loadWindowModule(QString &reason)
{
    wchar_t program[MAX_PATH + 1] = {};
    const DWORD length = GetModuleFileNameW(nullptr, program, MAX_PATH + 1);
    const QString folder = QFileInfo(QString::fromWCharArray(program, int(length))).absolutePath();
    const QString path = QDir::toNativeSeparators(QDir(folder).filePath(QStringLiteral(TARNWICK_WINDOW_MODULE)));
    const HMODULE module = LoadLibraryExW(reinterpret_cast<const wchar_t *>(path.utf16()), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    const FARPROC main = module ? GetProcAddress(module, windowMainName) : nullptr;
    const FARPROC notice = main ? GetProcAddress(module, windowNoticeName) : nullptr;
    if (!notice) {
        reason = systemReason();
        return {};
    }
    return {reinterpret_cast<WindowMain>(reinterpret_cast<void *>(main)), reinterpret_cast<WindowNotice>(reinterpret_cast<void *>(notice))};
}

} // namespace tarnwick
