#include "Folders.h"

#include <QDir>
#include <QFileInfo>
#include <QFile>

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace tarnwick {

namespace {

// The entry's kind from the directory itself where it tells; a link, or a file system that does
// not tell, costs a stat.
FolderEntry::Kind kindOf(int folder, const dirent &entry)
{
    if (entry.d_type == DT_REG)
        return FolderEntry::Kind::File;
    if (entry.d_type == DT_DIR)
        return FolderEntry::Kind::Folder;
    if (entry.d_type != DT_LNK && entry.d_type != DT_UNKNOWN)
        return FolderEntry::Kind::Other;
    struct stat status {};
    if (::fstatat(folder, entry.d_name, &status, 0) != 0)
        return FolderEntry::Kind::Other;
    return S_ISREG(status.st_mode) ? FolderEntry::Kind::File : S_ISDIR(status.st_mode) ? FolderEntry::Kind::Folder : FolderEntry::Kind::Other;
}

} // namespace

FolderListing listFolder(const QString &path)
{
    FolderListing listing;
    DIR *folder = ::opendir(QFile::encodeName(path).constData());
    if (!folder) {
        listing.error = qt_error_string(errno);
        return listing;
    }
    for (;;) {
        errno = 0;
        const dirent *entry = ::readdir(folder);
        if (!entry) {
            if (errno != 0)
                listing.error = qt_error_string(errno);
            break;
        }
        const QByteArray name(entry->d_name);
        if (name == "." || name == "..")
            continue;
        listing.entries.append({QFile::decodeName(name), kindOf(::dirfd(folder), *entry)});
    }
    ::closedir(folder);
    return listing;
}

QString madeFolder(const QString &path)
{
    const QString folder = QDir::cleanPath(QDir(path).absolutePath());
    struct stat status {};
    if (::stat(QFile::encodeName(folder).constData(), &status) == 0)
        return S_ISDIR(status.st_mode) ? QString() : qt_error_string(ENOTDIR);
    const QString above = QFileInfo(folder).absolutePath();
    if (above != folder) {
        if (const QString error = madeFolder(above); !error.isEmpty())
            return error;
    }
    if (::mkdir(QFile::encodeName(folder).constData(), 0777) != 0 && errno != EEXIST)
        return qt_error_string(errno);
    return {};
}

} // namespace tarnwick
