#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

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

// The logs named on the command line as the program takes them. On Windows, whose shells leave
// wildcards to the program, a name with * or ? in its last part stands for the files it matches,
// sorted by name (with no match, the name as it is, which then fails with its own reason); on
// Linux, whose shells have expanded them already, the names as they are.
QStringList expandedLogNames(const QStringList &names);

} // namespace tarnwick
