#include "UserFiles.h"

#include <QDir>
#include <QStandardPaths>

namespace tarnwick {

QString userConfigurationFolder()
{
    return QDir::toNativeSeparators(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)) + QDir::separator();
}

QByteArray nativeLineBreak()
{
    return "\n";
}

} // namespace tarnwick
