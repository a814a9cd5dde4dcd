#include "UserFiles.h"

#include <QDir>
#include <QStandardPaths>

namespace tarnwick {

QString userConfigurationFolder()
{
    return QDir::toNativeSeparators(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)) + QDir::separator();
}

QByteArray nativeLineBreak()
{
    return "\r\n";
}

} // namespace tarnwick
