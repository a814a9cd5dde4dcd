#include "FileMetadata.h"

#include <QFile>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace tarnwick {

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
