#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include "batch/RunSettings.h"
#include "batch/Messages.h"
#include "platform/ProgramArguments.h"

namespace tarnwick {

// A file on the command line that is not converted, and why.
struct Refusal {
    QString file; // as given, with bytes that cannot be shown escaped
    NotConverted why;
};

// What is wrong with a command line, worded by usageErrorText() once the language's texts are
// installed.
struct UsageError {
    enum class Kind { None, UnknownOption, MissingValue, UnknownEncoding, UnusableScreenRows, UnusableJobs, UnusablePager, UnusableTimestamp, NoValueMarker, PathInExtension, NoLog, NotOneLog, Other };
    Kind kind = Kind::None;
    QString argument; // the option as typed ("--bogus"), the encoding's name, the prompt or the shape; for Other, the toolkit's text
};

struct CommandLine {
    enum class Action { Convert, Help, Version, UsageError };
    Action action = Action::Convert;
    RunSettings settings;
    bool toStandardOutput = false; // -c, or "-" among the logs: every log's text to standard output
    bool follow = false;           // -f: the one log's text to standard output as it grows
    QStringList logs;              // in the order given; none for the window
    QList<Refusal> refused;        // arguments that name no file that can be converted
    UsageError error;              // for a usage error
};

// The program's arguments (without the program's name), as the system gave them. Options come
// before the logs; "--" ends them, and so does the first log.
CommandLine parseCommandLine(const QList<ProgramArgument> &arguments);

// The text of --help in the language. Needs the application object, whose name it shows.
QString helpText(Language language);

// The line that tells a usage error, with where to look for help, in the language.
QString usageErrorText(const UsageError &error, Language language);

// The name as it can be shown: bytes that are not printable ASCII as \xHH.
QString escapedName(const QByteArray &name);

} // namespace tarnwick
