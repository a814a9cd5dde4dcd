#include "UserFiles.h"

#include <QDir>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace tarnwick {

QString userConfigurationFolder()
{
    return QDir::toNativeSeparators(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)) + QDir::separator();
}

// Asked by creating a file: a folder's attributes say nothing of what its protection allows
// (C:\Program Files is not read-only, but only administrators may write there).
bool folderIsWritable(const QString &folder)
{
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral("Tarnwick-probe-XXXXXX")));
    return probe.open();
}

QByteArray nativeLineBreak()
{
    return "\r\n";
}

} // namespace tarnwick
