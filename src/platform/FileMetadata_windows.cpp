#include "FileMetadata.h"

#include "WideName_windows.h"

#include <QFileInfo>

#include <windows.h>

namespace tarnwick {

// The read-only attribute, or a file this process may not open for writing.
bool isReadOnly(const QString &path)
{
    const wchar_t *name = wideName(path);
    const DWORD attributes = GetFileAttributesW(name);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    if (attributes & FILE_ATTRIBUTE_READONLY)
        return true;
    const HANDLE file = CreateFileW(name, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        CloseHandle(file);
        return false;
    }
    return GetLastError() == ERROR_ACCESS_DENIED;
}

} // namespace tarnwick
