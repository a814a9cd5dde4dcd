#pragma once

#include <QFile>
#include <QString>

namespace tarnwick {

// Opens a log to read, unbuffered, that another program may hold open and go on writing,
// rename (a terminal program rotating its logs: name to name.1 and a new name) or delete while
// it is read. The system's reason is in the file's errorString() when it cannot.
bool openForSharedReading(QFile &file, const QString &path);

} // namespace tarnwick
