#include "FileIdentity.h"

#include "WideName_windows.h"

#include <windows.h>

namespace tarnwick {

std::optional<FileIdentity> fileIdentity(const QString &path)
{
    if (path.isEmpty())
        return std::nullopt;
    // Opened for no access at all, following links, folders too.
    const HANDLE file = CreateFileW(wideName(path), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return std::nullopt;
    BY_HANDLE_FILE_INFORMATION information{};
    const bool known = GetFileInformationByHandle(file, &information);
    CloseHandle(file);
    if (!known)
        return std::nullopt;
    return FileIdentity{information.dwVolumeSerialNumber, (std::uint64_t(information.nFileIndexHigh) << 32) | information.nFileIndexLow};
}

// Windows has no sticky shared folders whose links another user plants; a link there is
// created only with the right to create links.
bool linkMayBeFollowed(const QString &)
{
    return true;
}

} // namespace tarnwick
