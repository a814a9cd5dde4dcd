#pragma once

#include <QByteArray>
#include <QString>

namespace tarnwick {

// The folder of the user's settings for this program, closed with a separator:
// ~/.config/Tarnwick/ on Linux, %APPDATA%\Tarnwick\ on Windows.
QString userConfigurationFolder();

// The line break of a new text file: LF on Linux, CR LF on Windows.
QByteArray nativeLineBreak();

} // namespace tarnwick
