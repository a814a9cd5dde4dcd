#pragma once

#include <QString>

namespace tarnwick {

// Whether the file the path refers to (links followed) belongs to the user this process acts
// as (the effective user on Linux), so that writing it cannot change another user's file.
// On Windows always true: the ownership rule is the POSIX one, and a user's %APPDATA% is not
// shared with other users.
bool ownedByThisUser(const QString &path);

} // namespace tarnwick
