#pragma once

#include <QString>

namespace tarnwick {

// (Linux) Gives the open file `fd` what the file at `path` has besides its contents: its owner and
// group (where this process may set them), its extended attributes (its ACL among them) and
// its permission bits, special bits included. What the file system does not support is left.
void copyMetadata(const QString &path, int fd);

// True when the existing file at `path` may not be written by this process; for a process
// that may write any file, when the file has no write bit at all.
bool isReadOnly(const QString &path);

} // namespace tarnwick
