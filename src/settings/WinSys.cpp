#include "WinSys.h"

#include "platform/RunningProgram.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>

namespace WinSys {

namespace {

constexpr qsizetype maxValueBytes = 254;

// Where a key stands in the profile text, or where it would go.
struct KeyPlace {
    bool sectionFound = false;
    qsizetype lineStart = -1; // the key's line, without its line break
    qsizetype lineEnd = -1;
    qsizetype valueStart = -1;
    qsizetype insertAt = -1; // after the last key line of the section, when the key is missing
};

bool sameName(QByteArrayView a, const QString &b)
{
    return QString::fromUtf8(a.trimmed()).compare(b, Qt::CaseInsensitive) == 0;
}

KeyPlace findKey(const QByteArray &text, const QString &section, const QString &key)
{
    KeyPlace place;
    bool inSection = false;
    for (qsizetype start = 0; start < text.size();) {
        qsizetype end = text.indexOf('\n', start);
        const qsizetype next = end < 0 ? text.size() : end + 1;
        if (end < 0)
            end = text.size();
        const qsizetype contentEnd = end > start && text[end - 1] == '\r' ? end - 1 : end;
        const QByteArrayView line(text.constData() + start, contentEnd - start);
        const QByteArrayView body = line.trimmed();

        if (body.startsWith('[')) {
            const qsizetype close = body.indexOf(']');
            inSection = close > 0 && sameName(body.sliced(1, close - 1), section);
            if (inSection && !place.sectionFound) {
                place.sectionFound = true;
                place.insertAt = next;
            }
        } else if (inSection && !body.isEmpty() && !body.startsWith(';')) {
            place.insertAt = next;
            const qsizetype equals = line.indexOf('=');
            if (equals >= 0 && sameName(line.first(equals), key) && place.lineStart < 0) {
                place.lineStart = start;
                place.lineEnd = contentEnd;
                place.valueStart = start + equals + 1;
            }
        }
        start = next;
    }
    return place;
}

QByteArray readProfile(const QString &file)
{
    if (profileState(file) != ProfileState::Usable)
        return {};
    QFile profile(file);
    return profile.open(QIODevice::ReadOnly) ? profile.read(maxProfileBytes) : QByteArray();
}

QByteArray lineBreakOf(const QByteArray &text)
{
    const qsizetype lf = text.indexOf('\n');
    if (lf < 0)
        return tarnwick::nativeLineBreak();
    return lf > 0 && text[lf - 1] == '\r' ? "\r\n" : "\n";
}

// At most maxValueBytes bytes, not cutting a UTF-8 sequence in two.
QByteArray limited(QByteArray value)
{
    if (value.size() <= maxValueBytes)
        return value;
    qsizetype cut = maxValueBytes;
    while (cut > 0 && (static_cast<unsigned char>(value[cut]) & 0xC0) == 0x80)
        --cut;
    value.truncate(cut);
    return value;
}

} // namespace

ProfileState profileState(const QString &file)
{
    const QFileInfo profile(file);
    if (!profile.exists())
        return ProfileState::Missing;
    if (!profile.isFile())
        return ProfileState::NotAFile;
    return profile.size() > maxProfileBytes ? ProfileState::TooLarge : ProfileState::Usable;
}

namespace {

QString valueIn(const QByteArray &text, const QString &section, const QString &key)
{
    const KeyPlace place = findKey(text, section, key);
    if (place.lineStart < 0)
        return {};
    return CutAtNul(QString::fromUtf8(limited(text.sliced(place.valueStart, place.lineEnd - place.valueStart))));
}

} // namespace

QString ReadIniString(const QString &file, const QString &section, const QString &key)
{
    return valueIn(readProfile(file), section, key);
}

QStringList ReadIniSeries(const QString &file, const QString &section, const QString &stem, int most)
{
    const QByteArray text = readProfile(file);
    QStringList values;
    for (int number = 1; number <= most; ++number) {
        QString value = valueIn(text, section, stem + QString::number(number));
        if (value.isEmpty())
            break;
        values.append(std::move(value));
    }
    return values;
}

void WriteIniString(const QString &file, const QString &section, const QString &key, const QString &value)
{
    const ProfileState state = profileState(file);
    if (state == ProfileState::NotAFile || state == ProfileState::TooLarge)
        return;
    // Re-read at every write, so that keys another instance wrote in the meantime stay.
    QByteArray text = readProfile(file);
    const QByteArray lineBreak = lineBreakOf(text);
    // A value is one line of the file: a line break would end it there.
    const auto lineBreakInValue = std::find_if(value.begin(), value.end(), [](QChar c) { return c == u'\r' || c == u'\n'; });
    const QByteArray keyLine = key.toUtf8() + '=' + QStringView(value.begin(), lineBreakInValue).toUtf8();

    const KeyPlace place = findKey(text, section, key);
    if (place.lineStart >= 0) {
        text.replace(place.lineStart, place.lineEnd - place.lineStart, keyLine);
    } else {
        QByteArray addition;
        qsizetype at = place.sectionFound ? place.insertAt : text.size();
        if (at > 0 && text[at - 1] != '\n')
            addition += lineBreak;
        if (!place.sectionFound)
            addition += '[' + section.toUtf8() + ']' + lineBreak;
        addition += keyLine + lineBreak;
        text.insert(at, addition);
    }

    QDir().mkpath(QFileInfo(file).absolutePath());
    // Unbuffered, so that a failed write is seen by QSaveFile and cancels the replacement
    // (a write buffered until the commit's flush would fail unnoticed there).
    QSaveFile profile(file);
    if (profile.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        if (profile.write(text) != text.size())
            profile.cancelWriting();
        profile.commit();
    }
}

QString CutAtNul(const QString &text)
{
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    return nul < 0 ? text : text.left(nul);
}

} // namespace WinSys
