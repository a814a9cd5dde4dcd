#include "Display.h"

#include <QString>

#include <cstdlib>

namespace tarnwick {

namespace {
bool hasEnvironment(const char *name)
{
    const char *value = std::getenv(name);
    return value && *value;
}
} // namespace

bool displayExpected()
{
    return hasEnvironment("DISPLAY") || hasEnvironment("WAYLAND_DISPLAY") || hasEnvironment("QT_QPA_PLATFORM");
}

QByteArray platformsWithFallback()
{
    if (hasEnvironment("QT_QPA_PLATFORM") || (!hasEnvironment("DISPLAY") && !hasEnvironment("WAYLAND_DISPLAY")))
        return {};
    const bool wayland = hasEnvironment("WAYLAND_DISPLAY") && qgetenv("XDG_SESSION_TYPE") == "wayland";
    return wayland ? "wayland;xcb;offscreen" : "xcb;wayland;offscreen";
}

QString displayName()
{
    return QString::fromLocal8Bit(qgetenv(hasEnvironment("DISPLAY") ? "DISPLAY" : "WAYLAND_DISPLAY"));
}

} // namespace tarnwick
