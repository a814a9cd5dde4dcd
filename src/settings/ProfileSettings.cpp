#include "ProfileSettings.h"

#include "WinSys.h"

namespace tarnwick::settings {

namespace {
const QString section = QStringLiteral("Tarnwick");
}

bool readSwitch(const QString &iniFile, const QString &key)
{
    return WinSys::ReadIniString(iniFile, section, key).toUpper() == QStringLiteral("TRUE");
}

QString readText(const QString &iniFile, const QString &key)
{
    return WinSys::ReadIniString(iniFile, section, key);
}

QString readFileExt(const QString &iniFile)
{
    if (WinSys::profileState(iniFile) != WinSys::ProfileState::Usable)
        return QStringLiteral("txt");
    return readText(iniFile, fileExtKey);
}

QStringList readPagerPrompts(const QString &iniFile)
{
    return WinSys::ReadIniSeries(iniFile, section, pagerKeyStem, mostPagerPrompts);
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
