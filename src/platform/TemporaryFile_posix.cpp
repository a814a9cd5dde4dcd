#include "TemporaryFile.h"

#include "EndingSignals.h"

#include <QDateTime>
#include <QDir>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace tarnwick {

namespace {

// A just-created file is locked a moment after it appears; a file that young is never taken
// for a leftover, so that another instance's file is not deleted in that moment.
constexpr qint64 youngestLeftoverSeconds = 10;

bool sameFile(const struct stat &a, const struct stat &b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

bool nameRefersTo(const QString &path, int fd)
{
    struct stat byName {};
    struct stat byHandle {};
    return ::lstat(QFile::encodeName(path).constData(), &byName) == 0 && ::fstat(fd, &byHandle) == 0 && sameFile(byName, byHandle);
}

} // namespace

bool TemporaryFile::createExclusively(const QString &path)
{
    file_.setFileName(path);
    // NewOnly creates with O_CREAT | O_EXCL, which never follows a link.
    if (!file_.open(QIODevice::ReadWrite | QIODevice::NewOnly | QIODevice::Unbuffered, QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
        errorString_ = file_.errorString();
        return false;
    }
    ::flock(file_.handle(), LOCK_EX | LOCK_NB);
    created_ = true;
    removeOnForcedEnd(LeftBehind::Temporary, path);
    return true;
}

bool TemporaryFile::remove()
{
    if (!created_)
        return true;
    created_ = false;
    removeOnForcedEnd(LeftBehind::Temporary, {});
    bool removed = true;
    // Deleted while still held, so that no other instance sees it unheld in between.
    if (nameRefersTo(file_.fileName(), file_.handle()) && ::unlink(QFile::encodeName(file_.fileName()).constData()) != 0) {
        errorString_ = qt_error_string(errno);
        removed = false;
    }
    file_.close();
    return removed;
}

void removeLeftoverTemporaryFiles(const QString &folder)
{
    const QDir dir(folder);
    const qint64 youngest = QDateTime::currentSecsSinceEpoch() - youngestLeftoverSeconds;
    for (const QString &name : dir.entryList({temporaryFileWildcard()}, QDir::Files | QDir::System | QDir::Hidden)) {
        if (!isTemporaryFileName(name))
            continue;
        const QString path = dir.filePath(name);
        // Opened without following a link or waiting for a writer; only then is it looked at.
        const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat status {};
        if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && status.st_uid == ::geteuid()
            && status.st_mtime < youngest && ::flock(fd, LOCK_EX | LOCK_NB) == 0
            && nameRefersTo(path, fd))
            ::unlink(QFile::encodeName(path).constData());
        ::close(fd);
    }
}

} // namespace tarnwick
