#pragma once

#include <QString>
#include <QStringList>

// The profile file primitives: one value under a section and a key of an INI-style file.
//
// Section and key names match without regard to letter case. A value is stored exactly as
// given and read back exactly as stored (no quotes or blanks are added or removed), at most
// 254 bytes of it. A missing file, section or key reads as empty text. Writing one key keeps
// every other line of the file as it was, and replaces the file as a whole, so that a failed
// write leaves the old file intact. Failures are not reported.
//
// Only a regular file of at most maxProfileBytes is a profile: anything else at its name (a
// FIFO, a device, a huge file) reads as missing and is never written, so that no read waits or
// takes unbounded memory. profileState() tells which, for a warning at start-up.
namespace WinSys {

inline constexpr qint64 maxProfileBytes = 1 << 20;

enum class ProfileState { Missing, Usable, NotAFile, TooLarge };
ProfileState profileState(const QString &file);

void WriteIniString(const QString &file, const QString &section, const QString &key, const QString &value);
QString ReadIniString(const QString &file, const QString &section, const QString &key);
// The values of the keys stem1, stem2, ... in turn, up to the first that reads as empty, at most
// `most` of them; the file is read once.
QStringList ReadIniSeries(const QString &file, const QString &section, const QString &stem, int most);

// The text up to, not including, its first NUL character.
QString CutAtNul(const QString &text);

} // namespace WinSys
