#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

namespace tarnwick {

// One argument of the program as the system gave it.
struct ProgramArgument {
    QString text;
    bool exact = true; // false where the bytes do not survive decoding (Linux)
    QByteArray bytes;  // the bytes, where there are any, to show an inexact one
};

// The program's arguments without its name: on Linux argv decoded from the file-name encoding;
// on Windows the whole Unicode command line (GetCommandLineW), split as the system splits it.
QList<ProgramArgument> programArguments(int argc, char *argv[]);

// A program without a console window of its own (Windows) writes its messages and its -c output
// to the console of the program that started it, where there is one. Nothing elsewhere.
void useParentConsole();

// Whether standard error goes where someone or something reads it: a terminal or console, a file,
// a pipe. Not so for a program started from the desktop, whose standard error is closed, the
// null device, or a desktop's log.
bool standardErrorIsRead();

// Whether a window can be shown: a display named in the environment (Linux), an interactive
// desktop (Windows).
bool displayExpected();

// The toolkit's platforms to try in turn, ending with offscreen, so that a display that cannot
// be opened (a stale DISPLAY over SSH or in tmux) is no abort; empty where the user has named a
// platform (QT_QPA_PLATFORM) or the system's own always opens (Windows). And the display's
// name, for messages.
QByteArray platformsWithFallback();
QString displayName();

// The folder of the user's settings for this program, closed with a separator:
// ~/.config/Tarnwick/ on Linux, %APPDATA%\Tarnwick\ on Windows.
QString userConfigurationFolder();

// Whether the program may create files in the folder.
bool folderIsWritable(const QString &folder);

// The line break of a new text file: LF on Linux, CR LF on Windows.
QByteArray nativeLineBreak();

} // namespace tarnwick
