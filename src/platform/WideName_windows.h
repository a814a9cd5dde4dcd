#pragma once

#include <QString>

namespace tarnwick {

// A path as the wide-character Windows functions take it; valid while the string lives.
inline const wchar_t *wideName(const QString &path)
{
    return reinterpret_cast<const wchar_t *>(path.utf16());
}

} // namespace tarnwick
