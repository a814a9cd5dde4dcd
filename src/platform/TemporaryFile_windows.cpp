#include "TemporaryFile.h"

#include "EndingSignals.h"
#include "WideName_windows.h"

#include <QDir>

#include <fcntl.h>
#include <io.h>

// windows.h first: sddl.h needs its types.
#include <windows.h>

#include <sddl.h>

using namespace Qt::StringLiterals;

namespace tarnwick {

// Created new (CREATE_NEW never opens what stands at the name), with a protection that lets
// only its owner in, and held without FILE_SHARE_DELETE: no other program can delete or rename
// it while the run lives. FILE_FLAG_DELETE_ON_CLOSE lets the system delete it however the
// process ends, a killed one too.
bool TemporaryFile::createExclusively(const QString &path)
{
    file_.setFileName(path);
    PSECURITY_DESCRIPTOR ownerOnly = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:P(A;;FA;;;OW)", SDDL_REVISION_1, &ownerOnly, nullptr)) {
        errorString_ = qt_error_string(int(GetLastError()));
        return false;
    }
    SECURITY_ATTRIBUTES security{sizeof(SECURITY_ATTRIBUTES), ownerOnly, FALSE};
    const HANDLE handle = CreateFileW(wideName(QDir::toNativeSeparators(path)), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, &security, CREATE_NEW,
                                      FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    const DWORD error = GetLastError();
    LocalFree(ownerOnly);
    if (handle == INVALID_HANDLE_VALUE) {
        errorString_ = qt_error_string(int(error));
        return false;
    }
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_RDWR | _O_BINARY);
    if (fd < 0 || !file_.open(fd, QIODevice::ReadWrite | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle)) {
        errorString_ = file_.errorString();
        if (fd < 0)
            CloseHandle(handle);
        else
            _close(fd);
        return false;
    }
    created_ = true;
    removeOnForcedEnd(LeftBehind::Temporary, path);
    return true;
}

// Closing the handle deletes the file.
bool TemporaryFile::remove()
{
    if (!created_)
        return true;
    created_ = false;
    removeOnForcedEnd(LeftBehind::Temporary, {});
    file_.close();
    return true;
}

// What a power cut left behind: a file another instance holds cannot be deleted, and stays.
void removeLeftoverTemporaryFiles(const QString &folder)
{
    const QDir dir(folder);
    for (const QString &name : dir.entryList({temporaryFileWildcard()}, QDir::Files | QDir::System | QDir::Hidden)) {
        if (isTemporaryFileName(name))
            DeleteFileW(wideName(QDir::toNativeSeparators(dir.filePath(name))));
    }
}

} // namespace tarnwick
