#include "ProgramFiles.h"

#include "platform/UserFiles.h"
#include "platform/TemporaryFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace tarnwick {

namespace {
const QString profileName = u"Tarnwick.ini"_s;
}

ProgramFiles programFiles(const ProgramFolder &folder, std::uint32_t number)
{
    const QString temporaryName = temporaryFileName(number);
    if (!folder.holdsProfile)
        return {folder.temporaryFolder + temporaryName, {}, folder.configurationFolder + profileName};
    return {folder.path + temporaryName, folder.temporaryFolder + temporaryName, folder.path + profileName};
}

QString closedFolder(const QString &folder)
{
    return folder.endsWith(QDir::separator()) || folder.endsWith(u'/') ? folder : folder + QDir::separator();
}

std::uint32_t processNumber()
{
    return static_cast<std::uint32_t>(QCoreApplication::applicationPid());
}

ProgramFolder runningProgramFolder()
{
    ProgramFolder folder;
    folder.path = closedFolder(QDir::toNativeSeparators(QCoreApplication::applicationDirPath()));
    folder.holdsProfile = QFileInfo::exists(folder.path + profileName);
    folder.temporaryFolder = closedFolder(QDir::toNativeSeparators(QDir::tempPath()));
    folder.configurationFolder = userConfigurationFolder();
    return folder;
}

} // namespace tarnwick
