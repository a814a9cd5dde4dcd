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

} // namespace tarnwick
