#include "WindowSetup.h"

#include "Version.h"

using namespace Qt::StringLiterals;

namespace tarnwick {

QString titleWithVersion(const QString &caption, int major, int minor)
{
    return caption + u" Ver."_s + versionText(major, minor);
}

QPoint centredPosition(QSize screen, QSize window)
{
    // Single-precision arithmetic, neither rounded nor clamped.
    const float left = static_cast<float>(screen.width() - window.width()) / 2.0f;
    const float top = static_cast<float>(screen.height() - window.height()) / 2.0f;
    return {static_cast<int>(left), static_cast<int>(top)};
}

} // namespace tarnwick
