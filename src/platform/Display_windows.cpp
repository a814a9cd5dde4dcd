#include "Display.h"

#include <QString>

#include <windows.h>

namespace tarnwick {

// A service or a scheduled task runs on a desktop nobody sees.
bool displayExpected()
{
    USEROBJECTFLAGS flags{};
    return GetUserObjectInformationW(GetProcessWindowStation(), UOI_FLAGS, &flags, sizeof flags, nullptr) && (flags.dwFlags & WSF_VISIBLE);
}

QByteArray platformsWithFallback()
{
    return {};
}

QString displayName()
{
    return QStringLiteral("Windows");
}

} // namespace tarnwick
