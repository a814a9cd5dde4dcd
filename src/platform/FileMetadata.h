#pragma once

#include <QString>

namespace tarnwick {

// True when the existing file at `path` may not be written by this process; for a process
// that may write any file, when the file has no write bit at all.
bool isReadOnly(const QString &path);

} // namespace tarnwick
