#include "ProfileSettings.h"

#include "WinSys.h"

namespace tarnwick::settings {

namespace {

const QString section = QStringLiteral("Tarnwick");

bool readSwitch(const QString &iniFile, const QString &key)
{
    return WinSys::ReadIniString(iniFile, section, key).toUpper() == QStringLiteral("TRUE");
}

} // namespace

QString readText(const QString &iniFile, const QString &key)
{
    return WinSys::ReadIniString(iniFile, section, key);
}

StoredSettings readStoredSettings(const QString &iniFile)
{
    StoredSettings stored;
    stored.overWrite = readSwitch(iniFile, overWriteKey);
    stored.scroll = readSwitch(iniFile, scrollKey);
    stored.controls = readSwitch(iniFile, controlsKey);
    stored.keepDots = readSwitch(iniFile, keepDotsKey);
    const bool firstStart = !WinSys::isRead(WinSys::profileState(iniFile));
    stored.fileExt = firstStart ? QStringLiteral("txt") : readText(iniFile, fileExtKey);
    stored.encoding = readText(iniFile, encodingKey);
    stored.pagerPrompts = WinSys::ReadIniSeries(iniFile, section, pagerKeyStem, mostPagerPrompts);
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
