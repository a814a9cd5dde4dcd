#include "Folders.h"
#include "WideName_windows.h"

#include <QDir>
#include <QFileInfo>

#include <windows.h>

namespace tarnwick {

FolderListing listFolder(const QString &path)
{
    FolderListing listing;
    const QString pattern = QDir::toNativeSeparators(QDir(path).filePath(QStringLiteral("*")));
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileExW(wideName(pattern), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (search == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        // An empty folder's search finds nothing, and that is no failure.
        if (error != ERROR_FILE_NOT_FOUND)
            listing.error = qt_error_string(int(error));
        return listing;
    }
    do {
        const QString name = QString::fromWCharArray(found.cFileName);
        if (name == QStringLiteral(".") || name == QStringLiteral(".."))
            continue;
        FolderEntry::Kind kind = found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY ? FolderEntry::Kind::Folder : FolderEntry::Kind::File;
        // A link's attributes are its own; what it leads to decides, as on the other systems.
        if (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) {
            const DWORD target = GetFileAttributesW(wideName(QDir::toNativeSeparators(QDir(path).filePath(name))));
            kind = target == INVALID_FILE_ATTRIBUTES ? FolderEntry::Kind::Other
                : target & FILE_ATTRIBUTE_DIRECTORY  ? FolderEntry::Kind::Folder
                                                     : FolderEntry::Kind::File;
        }
        listing.entries.append({name, kind});
    } while (FindNextFileW(search, &found));
    const DWORD error = GetLastError();
    if (error != ERROR_NO_MORE_FILES)
        listing.error = qt_error_string(int(error));
    FindClose(search);
    return listing;
}

QString madeFolder(const QString &path)
{
    const QString folder = QDir::cleanPath(QDir(path).absolutePath());
    const DWORD attributes = GetFileAttributesW(wideName(QDir::toNativeSeparators(folder)));
    if (attributes != INVALID_FILE_ATTRIBUTES)
        return attributes & FILE_ATTRIBUTE_DIRECTORY ? QString() : qt_error_string(ERROR_DIRECTORY);
    const QString above = QFileInfo(folder).absolutePath();
    if (above != folder) {
        if (const QString error = madeFolder(above); !error.isEmpty())
            return error;
    }
    if (!CreateDirectoryW(wideName(QDir::toNativeSeparators(folder)), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        return qt_error_string(int(GetLastError()));
    return {};
}

} // namespace tarnwick
