#include "FileIdentity.h"

#include <QFile>

#include <sys/stat.h>

namespace tarnwick {

namespace {

FileState stateOf(const struct stat &status)
{
    FileState state;
    state.identity = {static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino)};
    state.kind = S_ISREG(status.st_mode) ? FileState::Kind::Regular
        : S_ISCHR(status.st_mode) || S_ISBLK(status.st_mode) ? FileState::Kind::Device
                                                             : FileState::Kind::Other;
    state.size = status.st_size;
    state.modified = std::int64_t(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
    return state;
}

} // namespace

std::optional<FileIdentity> fileIdentity(const QString &path)
{
    const auto state = fileState(path);
    return state ? std::optional(state->identity) : std::nullopt;
}

std::optional<FileState> fileState(QFileDevice &file)
{
    struct stat status {};
    if (file.handle() < 0 || ::fstat(file.handle(), &status) != 0)
        return std::nullopt;
    return stateOf(status);
}

std::optional<FileState> fileState(const QString &path)
{
    struct stat status {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path).constData(), &status) != 0)
        return std::nullopt;
    return stateOf(status);
}

} // namespace tarnwick
