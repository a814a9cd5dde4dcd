#pragma once

#include <QString>

namespace tarnwick {

// The source path cut at the first "." of its file-name part (the part after the last path
// separator); the path unchanged when that part holds no dot.
QString outputBase(const QString &sourcePath);

} // namespace tarnwick
