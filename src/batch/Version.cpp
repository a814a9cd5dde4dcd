#include "Version.h"

namespace tarnwick {

QString versionText(int major, int minor)
{
    return QString::number(major) + u'.' + QString::number(minor + 100).right(2);
}

} // namespace tarnwick
