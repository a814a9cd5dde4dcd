#include "SharedReading.h"

namespace tarnwick {

// An open file is never in the way of another program's writing, renaming or deleting.
bool openForSharedReading(QFile &file, const QString &path)
{
    file.setFileName(path);
    return file.open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

} // namespace tarnwick
