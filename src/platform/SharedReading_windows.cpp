#include "SharedReading.h"

#include <QDir>

#include <fcntl.h>
#include <io.h>
#include <windows.h>

namespace tarnwick {

// The toolkit opens a file sharing reading and writing only: the writer could not rename the
// log we hold, and its rotation would fail. Opened here sharing deletion (renaming) too, and
// handed to the toolkit, which closes it.
bool openForSharedReading(QFile &file, const QString &path)
{
    file.setFileName(path);
    const HANDLE handle = CreateFileW(reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(path).utf16()), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        // Worded by the toolkit, as for every other file that cannot be opened.
        return file.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }
    const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_RDONLY | _O_BINARY);
    if (descriptor < 0) {
        CloseHandle(handle);
        return file.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }
    if (file.open(descriptor, QIODevice::ReadOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle))
        return true;
    _close(descriptor);
    return false;
}

} // namespace tarnwick
