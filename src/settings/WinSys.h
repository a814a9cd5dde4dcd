#pragma once

#include <QString>
#include <QStringList>

// The profile file primitives: one value under a section and a key of an INI-style file.
//
// Section and key names match without regard to letter case. A value is stored exactly as
// given and read back exactly as stored (no quotes or blanks are added or removed), whatever its
// length. A missing file, section or key reads as the default given (empty text unless told), an
// empty value as empty text. Writing one key keeps every other
// line of the file as it was, byte for byte, and replaces the file as a whole, keeping its mode,
// owner and group (see ReplacementFile), so that a failed write leaves the old file intact. A
// write that would make the file larger than maxProfileBytes is not made. Failures are not
// reported.
//
// The file is read in the encoding a Windows editor may have saved it in: UTF-8 with or without
// a byte order mark, UTF-16 of either byte order with one, or else (bytes that are not UTF-8)
// the system's code page. A key is written in the file's own encoding, to a new file in UTF-8.
//
// Only a regular file of at most maxProfileBytes is a profile: anything else at its name (a
// FIFO, a device, a link to nothing, a huge file) reads as missing and is never written, so that
// no read waits or takes unbounded memory. A profile that is not the user's own to write (another
// user's file, a link to one, a file this process may not write) is read but never written, so
// that a link planted at its name cannot make the program change a file elsewhere. profileState()
// tells which, for a warning at start-up.
namespace WinSys {

inline constexpr qint64 maxProfileBytes = 1 << 20;

enum class ProfileState {
    Missing,
    Usable,
    NotAFile,
    TooLarge,
    OtherUsersFile,
    LinkToOtherUsersFile,
    ReadOnly,
};
ProfileState profileState(const QString &file);
// Whether the settings are read from a profile in that state; a usable or missing one alone is
// written.
bool isRead(ProfileState state);

void WriteIniString(const QString &file, const QString &section, const QString &key, const QString &value);
QString ReadIniString(const QString &file, const QString &section, const QString &key, const QString &missing = {});
// The values of the keys stem1, stem2, ... in turn, up to the first that reads as empty, at most
// `most` of them; the file is read once.
QStringList ReadIniSeries(const QString &file, const QString &section, const QString &stem, int most);

// The text up to, not including, its first NUL character.
QString CutAtNul(const QString &text);

} // namespace WinSys
