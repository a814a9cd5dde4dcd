#include "FileOwner.h"

#include <QFile>

#include <sys/stat.h>
#include <unistd.h>

namespace tarnwick {

bool ownedByThisUser(const QString &path)
{
    struct stat status {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 && status.st_uid == ::geteuid();
}

} // namespace tarnwick
