#include "WinSys.h"

#include "platform/FileMetadata.h"
#include "platform/FileOwner.h"
#include "platform/ReplacementFile.h"
#include "platform/UserFiles.h"
#include "text/ByteOrderMarks.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>

namespace WinSys {

namespace {

// The profile's bytes as the file holds them, and the encoding they are read in.
struct Profile {
    QByteArray bytes;
    QStringConverter::Encoding encoding = QStringConverter::Utf8;
    qsizetype markBytes = 0; // of the byte order mark, which stays where it is

    // Line breaks are looked for a whole code unit at a time, so that a byte of a UTF-16
    // character is not taken for one.
    qsizetype unitBytes() const { return encoding == QStringConverter::Utf16LE || encoding == QStringConverter::Utf16BE ? 2 : 1; }

    char16_t unitAt(qsizetype at) const
    {
        const auto byte = [&](qsizetype offset) { return static_cast<char16_t>(static_cast<unsigned char>(bytes[at + offset])); };
        switch (encoding) {
        case QStringConverter::Utf16LE:
            return static_cast<char16_t>(byte(0) | byte(1) << 8);
        case QStringConverter::Utf16BE:
            return static_cast<char16_t>(byte(0) << 8 | byte(1));
        default:
            return byte(0);
        }
    }

    QByteArray encoded(const QString &text) const
    {
        QStringEncoder encoder(encoding);
        return encoder.encode(text);
    }
};

Profile profileOf(QByteArray bytes)
{
    Profile profile;
    const std::string_view text(bytes.constData(), std::size_t(bytes.size()));
    if (text.starts_with(tarnwick::byteOrderMark::utf8)) {
        profile.markBytes = tarnwick::byteOrderMark::utf8.size();
    } else if (text.starts_with(tarnwick::byteOrderMark::utf16Le)) {
        profile.encoding = QStringConverter::Utf16LE;
        profile.markBytes = tarnwick::byteOrderMark::utf16Le.size();
    } else if (text.starts_with(tarnwick::byteOrderMark::utf16Be)) {
        profile.encoding = QStringConverter::Utf16BE;
        profile.markBytes = tarnwick::byteOrderMark::utf16Be.size();
    } else if (!QByteArrayView(bytes).isValidUtf8()) {
        // What a Windows editor saves as "ANSI": code page 932 on a Japanese system.
        profile.encoding = QStringConverter::System;
    }
    profile.bytes = std::move(bytes);
    return profile;
}

// Where a key stands in the profile's bytes, or where it would go.
struct KeyPlace {
    bool sectionFound = false;
    qsizetype lineStart = -1; // the key's line, without its line break
    qsizetype lineEnd = -1;
    QString value;
    qsizetype insertAt = -1; // after the last key line of the section, when the key is missing
};

bool sameName(QStringView a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// The places of the keys, in one pass over the file.
QList<KeyPlace> findKeys(const Profile &profile, const QString &section, const QStringList &keys)
{
    QList<KeyPlace> places(keys.size());
    bool sectionFound = false;
    qsizetype insertAt = -1;
    bool inSection = false;
    const qsizetype width = profile.unitBytes();
    const qsizetype size = profile.bytes.size();
    // A byte order mark inside the file is text, not one to skip.
    QStringDecoder decoder(profile.encoding, QStringConverter::Flag::ConvertInitialBom);
    for (qsizetype start = profile.markBytes; start < size;) {
        qsizetype end = start;
        while (end + width <= size && profile.unitAt(end) != u'\n')
            end += width;
        const bool broken = end + width <= size;
        const qsizetype next = broken ? end + width : size;
        qsizetype contentEnd = broken ? end : size;
        if (contentEnd == end && end - start >= width && profile.unitAt(end - width) == u'\r')
            contentEnd = end - width;
        decoder.resetState();
        const QString line = decoder.decode(QByteArrayView(profile.bytes).sliced(start, contentEnd - start));
        const QStringView body = QStringView(line).trimmed();

        if (body.startsWith(u'[')) {
            const qsizetype close = body.indexOf(u']');
            inSection = close > 0 && sameName(body.sliced(1, close - 1).trimmed(), section);
            if (inSection && !sectionFound) {
                sectionFound = true;
                insertAt = next;
            }
        } else if (inSection && !body.isEmpty() && !body.startsWith(u';')) {
            insertAt = next;
            const qsizetype equals = line.indexOf(u'=');
            const QStringView name = QStringView(line).first(std::max<qsizetype>(equals, 0)).trimmed();
            for (qsizetype k = 0; equals >= 0 && k < keys.size(); ++k) {
                KeyPlace &place = places[k];
                if (place.lineStart < 0 && sameName(name, keys[k])) {
                    place.lineStart = start;
                    place.lineEnd = contentEnd;
                    place.value = line.sliced(equals + 1);
                }
            }
        }
        start = next;
    }
    for (KeyPlace &place : places) {
        place.sectionFound = sectionFound;
        place.insertAt = insertAt;
    }
    return places;
}

Profile readProfile(const QString &file)
{
    QByteArray bytes;
    QFile profile(file);
    if (isRead(profileState(file)) && profile.open(QIODevice::ReadOnly))
        bytes = profile.read(maxProfileBytes);
    return profileOf(std::move(bytes));
}

QString lineBreakOf(const Profile &profile)
{
    const qsizetype width = profile.unitBytes();
    for (qsizetype at = profile.markBytes; at + width <= profile.bytes.size(); at += width) {
        if (profile.unitAt(at) == u'\n')
            return at - width >= profile.markBytes && profile.unitAt(at - width) == u'\r' ? QStringLiteral("\r\n") : QStringLiteral("\n");
    }
    return QString::fromLatin1(tarnwick::nativeLineBreak());
}

// Through a symbolic link, the file it leads to is replaced, so that the link stays a link.
void replaceProfile(const QString &file, const QByteArray &bytes)
{
    const QFileInfo link(file);
    QDir().mkpath(link.absolutePath());
    tarnwick::ReplacementFile profile(link.isSymLink() ? link.canonicalFilePath() : file);
    if (profile.open() && profile.device().write(bytes) == bytes.size())
        profile.commit();
}

} // namespace

ProfileState profileState(const QString &file)
{
    const QFileInfo profile(file);
    if (!profile.exists())
        return profile.isSymLink() ? ProfileState::NotAFile : ProfileState::Missing;
    if (!profile.isFile())
        return ProfileState::NotAFile;
    if (profile.size() > maxProfileBytes)
        return ProfileState::TooLarge;
    if (!tarnwick::ownedByThisUser(file))
        return profile.isSymLink() ? ProfileState::LinkToOtherUsersFile : ProfileState::OtherUsersFile;
    return tarnwick::isReadOnly(file) ? ProfileState::ReadOnly : ProfileState::Usable;
}

bool isRead(ProfileState state)
{
    switch (state) {
    case ProfileState::Usable:
    case ProfileState::OtherUsersFile:
    case ProfileState::LinkToOtherUsersFile:
    case ProfileState::ReadOnly:
        return true;
    case ProfileState::Missing:
    case ProfileState::NotAFile:
    case ProfileState::TooLarge:
        break;
    }
    return false;
}

QString ReadIniString(const QString &file, const QString &section, const QString &key, const QString &missing)
{
    const KeyPlace place = findKeys(readProfile(file), section, {key}).front();
    return place.lineStart < 0 ? missing : CutAtNul(place.value);
}

QStringList ReadIniSeries(const QString &file, const QString &section, const QString &stem, int most)
{
    QStringList keys;
    for (int number = 1; number <= most; ++number)
        keys.append(stem + QString::number(number));
    QStringList values;
    for (const KeyPlace &place : findKeys(readProfile(file), section, keys)) {
        QString value = CutAtNul(place.value);
        if (value.isEmpty())
            break;
        values.append(std::move(value));
    }
    return values;
}

void WriteIniString(const QString &file, const QString &section, const QString &key, const QString &value)
{
    const ProfileState state = profileState(file);
    if (state != ProfileState::Missing && state != ProfileState::Usable)
        return;
    // Re-read at every write, so that keys another instance wrote in the meantime stay.
    const Profile profile = readProfile(file);
    const QString lineBreak = lineBreakOf(profile);
    // A value is one line of the file: a line break would end it there.
    const auto lineBreakInValue = std::find_if(value.begin(), value.end(), [](QChar c) { return c == u'\r' || c == u'\n'; });
    const QString keyLine = key + u'=' + value.first(lineBreakInValue - value.begin());

    const KeyPlace place = findKeys(profile, section, {key}).front();
    QByteArray bytes = profile.bytes;
    if (place.lineStart >= 0) {
        bytes.replace(place.lineStart, place.lineEnd - place.lineStart, profile.encoded(keyLine));
    } else {
        QString addition;
        const qsizetype at = place.sectionFound ? place.insertAt : bytes.size();
        if (at > profile.markBytes && profile.unitAt(at - profile.unitBytes()) != u'\n')
            addition += lineBreak;
        if (!place.sectionFound)
            addition += u'[' + section + u']' + lineBreak;
        addition += keyLine + lineBreak;
        bytes.insert(at, profile.encoded(addition));
    }
    // A larger file would no longer be read at all.
    if (bytes.size() <= maxProfileBytes)
        replaceProfile(file, bytes);
}

QString CutAtNul(const QString &text)
{
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    return nul < 0 ? text : text.left(nul);
}

} // namespace WinSys
