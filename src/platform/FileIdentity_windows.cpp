#include "FileIdentity.h"

#include "WideName_windows.h"

#include <io.h>
#include <windows.h>

namespace tarnwick {

namespace {

std::optional<FileState> stateOf(HANDLE file)
{
    BY_HANDLE_FILE_INFORMATION information{};
    const DWORD type = GetFileType(file);
    FileState state;
    state.kind = type == FILE_TYPE_DISK ? FileState::Kind::Regular : type == FILE_TYPE_CHAR ? FileState::Kind::Device : FileState::Kind::Other;
    if (state.kind != FileState::Kind::Regular)
        return state;
    if (!GetFileInformationByHandle(file, &information))
        return std::nullopt;
    state.identity = {information.dwVolumeSerialNumber, (std::uint64_t(information.nFileIndexHigh) << 32) | information.nFileIndexLow};
    state.size = std::int64_t((std::uint64_t(information.nFileSizeHigh) << 32) | information.nFileSizeLow);
    state.modified = std::int64_t((std::uint64_t(information.ftLastWriteTime.dwHighDateTime) << 32) | information.ftLastWriteTime.dwLowDateTime);
    return state;
}

} // namespace

std::optional<FileIdentity> fileIdentity(const QString &path)
{
    const auto state = fileState(path);
    return state && state->kind == FileState::Kind::Regular ? std::optional(state->identity) : std::nullopt;
}

// A file that Qt opened by its name has no C descriptor (handle() is -1) and is looked up by
// that name; standard streams and adopted descriptors by their handle.
std::optional<FileState> fileState(QFileDevice &file)
{
    if (file.handle() < 0)
        return file.fileName().isEmpty() ? std::nullopt : fileState(file.fileName());
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(file.handle()));
    if (handle == INVALID_HANDLE_VALUE)
        return std::nullopt;
    return stateOf(handle);
}

std::optional<FileState> fileState(const QString &path)
{
    if (path.isEmpty())
        return std::nullopt;
    // Opened for no access at all, following links, folders too.
    const HANDLE file = CreateFileW(wideName(path), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::nullopt;
    const auto state = stateOf(file);
    CloseHandle(file);
    return state;
}

} // namespace tarnwick
