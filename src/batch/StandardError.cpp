#include "StandardError.h"

#include "platform/StandardStreams.h"
#include "settings/WinSys.h"

#include <QDir>

using namespace Qt::StringLiterals;

namespace tarnwick {

namespace {

QString shownName(const QString &name)
{
    QString shown;
    for (const QChar c : name) {
        if (c == u'\n')
            shown += u"\\n"_s;
        else if (c == u'\t')
            shown += u"\\t"_s;
        else if (c == u'\r')
            shown += u"\\r"_s;
        else if (c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() < 0xA0))
            shown += u"\\x"_s + QString::number(c.unicode(), 16).rightJustified(2, u'0');
        else
            shown += c;
    }
    return shown;
}

} // namespace

void sayOnStandardError(const QString &line)
{
    writeWords(WordsTo::Error, u"tarnwick: "_s + line + u'\n');
}

void reportOnStandardError(const Problem &problem)
{
    sayOnStandardError(shownName(problem.file()) + u": "_s + problemReason(problem, localeLanguage()));
}

void warnOfUnusableProfile(const QString &profile)
{
    const char *source = nullptr;
    switch (WinSys::profileState(profile)) {
    case WinSys::ProfileState::NotAFile:
        source = QT_TRANSLATE_NOOP("tarnwick", "warning: the profile %1 is not a regular file; the settings are neither read from it nor kept");
        break;
    case WinSys::ProfileState::TooLarge:
        source = QT_TRANSLATE_NOOP("tarnwick", "warning: the profile %1 is larger than 1 MiB; the settings are neither read from it nor kept");
        break;
    case WinSys::ProfileState::OtherUsersFile:
        source = QT_TRANSLATE_NOOP("tarnwick", "warning: the profile %1 belongs to another user; the settings are read from it but changes are not kept");
        break;
    case WinSys::ProfileState::LinkToOtherUsersFile:
        source = QT_TRANSLATE_NOOP("tarnwick", "warning: the profile %1 is a symbolic link to another user's file; the settings are read from it but changes are not kept");
        break;
    case WinSys::ProfileState::ReadOnly:
        source = QT_TRANSLATE_NOOP("tarnwick", "warning: the profile %1 is read-only; the settings are read from it but changes are not kept");
        break;
    case WinSys::ProfileState::Missing:
    case WinSys::ProfileState::Usable:
        return;
    }
    sayOnStandardError(text(localeLanguage(), source).arg(shownName(QDir::toNativeSeparators(profile))));
}

} // namespace tarnwick
