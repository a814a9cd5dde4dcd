#pragma once

#include <QFileDevice>
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

// What a run notes of a file it reads, so that it can tell afterwards whether the file changed
// while it was read (a capture still being written, a log replaced).
struct FileState {
    enum class Kind { Regular, Device, Other }; // Other: a FIFO, a pipe, a socket
    FileIdentity identity;
    Kind kind = Kind::Other;
    std::int64_t size = 0;
    std::int64_t modified = 0; // in the system's own units

    bool operator==(const FileState &) const = default;
};

// The state of an open file, or of the file a path refers to (links followed).
std::optional<FileState> fileState(QFileDevice &file);
std::optional<FileState> fileState(const QString &path);

} // namespace tarnwick
