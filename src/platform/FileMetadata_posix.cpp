#include "FileMetadata.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <vector>

namespace tarnwick {

namespace {

// The attribute list or value of the file, grown until it fits; empty on any failure.
template <typename Read>
std::vector<char> readAttribute(Read read)
{
    std::vector<char> bytes;
    for (ssize_t size = read(nullptr, 0); size > 0; size = read(nullptr, 0)) {
        bytes.resize(static_cast<std::size_t>(size));
        const ssize_t got = read(bytes.data(), bytes.size());
        if (got >= 0) {
            bytes.resize(static_cast<std::size_t>(got));
            return bytes;
        }
        if (errno != ERANGE)
            break;
    }
    return {};
}

void copyExtendedAttributes(const QByteArray &from, int fd)
{
    const std::vector<char> names = readAttribute([&](char *to, std::size_t size) { return ::listxattr(from.constData(), to, size); });
    for (std::size_t at = 0; at < names.size(); at += std::strlen(names.data() + at) + 1) {
        const char *name = names.data() + at;
        const std::vector<char> value = readAttribute([&](char *to, std::size_t size) { return ::getxattr(from.constData(), name, to, size); });
        ::fsetxattr(fd, name, value.data(), value.size(), 0);
    }
}

} // namespace

void copyMetadata(const QString &path, int fd)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat status {};
    if (::stat(name.constData(), &status) != 0)
        return;
    // The group alone where the owner cannot be given away (a user who is in the file's group).
    [[maybe_unused]] const bool owned = ::fchown(fd, status.st_uid, status.st_gid) == 0
        || ::fchown(fd, static_cast<uid_t>(-1), status.st_gid) == 0;
    copyExtendedAttributes(name, fd);
    // Last, since changing the owner clears the set-user-ID and set-group-ID bits.
    [[maybe_unused]] const bool protectedAsBefore = ::fchmod(fd, status.st_mode & 07777) == 0;
}

bool isReadOnly(const QString &path)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat status {};
    if (::stat(name.constData(), &status) != 0 || !S_ISREG(status.st_mode))
        return false;
    if (::access(name.constData(), W_OK) != 0)
        return errno == EACCES || errno == EPERM;
    return (status.st_mode & 0222) == 0;
}

} // namespace tarnwick
