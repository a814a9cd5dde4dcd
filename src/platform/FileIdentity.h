#pragma once

#include <QString>

#include <compare>
#include <cstdint>
#include <optional>

namespace tarnwick {

// Which file a path refers to, whatever the name: a link, "..", or a second hard link to the
// same file give the same identity (the device and inode; on Windows the volume and file ID).
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t file = 0;

    auto operator<=>(const FileIdentity &) const = default;
};

// The identity of the file the path refers to (links followed); nothing when there is none.
std::optional<FileIdentity> fileIdentity(const QString &path);

// Whether a symbolic link at `path` may be followed into the file it names. Links in a
// world-writable folder with the sticky bit (/tmp) are followed only where the kernel's
// protected-symlinks rule would follow them: the link belongs to the user running the program
// or to the folder's owner. Another user's link there may point anywhere the program may
// write. Anything that is not such a link may be followed.
bool linkMayBeFollowed(const QString &path);

} // namespace tarnwick
