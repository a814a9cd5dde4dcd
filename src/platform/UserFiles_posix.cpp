#include "UserFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace tarnwick {

QString userConfigurationFolder()
{
    return QDir::toNativeSeparators(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)) + QDir::separator();
}

bool folderIsWritable(const QString &folder)
{
    return QFileInfo(folder).isWritable();
}

QByteArray nativeLineBreak()
{
    return "\n";
}

} // namespace tarnwick
