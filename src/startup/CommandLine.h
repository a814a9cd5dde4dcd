#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include "RunSettings.h"
#include "conversion/Messages.h"

namespace tarnwick {

// A file on the command line that is not converted, and why.
struct Refusal {
    QString file; // as given, with bytes that cannot be shown escaped
    NotConverted why;
};

struct CommandLine {
    enum class Action { Convert, Help, Version, UsageError };
    Action action = Action::Convert;
    RunSettings settings;
    bool toStandardOutput = false; // -c, or "-" among the logs: every log's text to standard output
    QStringList logs;              // in the order given; none for the window
    QList<Refusal> refused;        // arguments that name no file that can be converted
    QString error;                 // for a usage error: one line that says what is wrong
};

// The program's arguments (without the program's name), as the system gave them. Options come
// before the logs; "--" ends them, and so does the first log.
CommandLine parseCommandLine(const QList<QByteArray> &arguments);

// The text of --help. Needs the application object, whose name it shows.
QString helpText();

// The name as it can be shown: bytes that are not printable ASCII as \xHH.
QString escapedName(const QByteArray &name);

} // namespace tarnwick
