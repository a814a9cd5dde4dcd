#include "ProfileSettings.h"

#include <QRegularExpression>

#include "WinSys.h"

namespace tarnwick::settings {

namespace {

const QString section = QStringLiteral("Tarnwick");

bool readSwitch(const QString &iniFile, const QString &key)
{
    return WinSys::ReadIniString(iniFile, section, key).toUpper() == QStringLiteral("TRUE");
}

} // namespace

QString readText(const QString &iniFile, const QString &key, const QString &missing)
{
    return WinSys::ReadIniString(iniFile, section, key, missing);
}

StoredSettings readStoredSettings(const QString &iniFile)
{
    StoredSettings stored;
    stored.overWrite = readSwitch(iniFile, overWriteKey);
    stored.scroll = readSwitch(iniFile, scrollKey);
    stored.controls = readSwitch(iniFile, controlsKey);
    stored.keepDots = readSwitch(iniFile, keepDotsKey);
    stored.mask = readSwitch(iniFile, maskKey);
    stored.recursive = readSwitch(iniFile, recursiveKey);
    stored.fileExt = readText(iniFile, fileExtKey, defaultFileExt);
    stored.encoding = readText(iniFile, encodingKey);
    stored.screenRows = readText(iniFile, screenRowsKey);
    stored.pagerPrompts = WinSys::ReadIniSeries(iniFile, section, pagerKeyStem, mostPagerPrompts);
    stored.secretShapes = WinSys::ReadIniSeries(iniFile, section, secretKeyStem, mostSecretShapes);
    stored.timestamps = WinSys::ReadIniSeries(iniFile, section, timestampKeyStem, mostTimestamps);
    // Blanks or commas between them, a dot before each allowed: "log txt", ".log, .cap".
    for (const QString &extension : readText(iniFile, logExtensionsKey, defaultLogExtensions).split(QRegularExpression(QStringLiteral("[\\s,]+")), Qt::SkipEmptyParts)) {
        const QString bare = extension.sliced(extension.startsWith(u'.') ? 1 : 0);
        if (!bare.isEmpty())
            stored.logExtensions.append(bare);
    }
    stored.outputFolder = readText(iniFile, outputFolderKey);
    return stored;
}

void keepSwitch(bool checked, bool &mirror, const QString &iniFile, const QString &key)
{
    if (mirror == checked)
        return;
    mirror = checked;
    WinSys::WriteIniString(iniFile, section, key, checked ? QStringLiteral("TRUE") : QStringLiteral("FALSE"));
}

void keepText(const QString &text, QString &mirror, const QString &iniFile, const QString &key)
{
    if (mirror == text)
        return;
    mirror = text;
    WinSys::WriteIniString(iniFile, section, key, mirror);
}

} // namespace tarnwick::settings
