#include "CommandLine.h"

#include "HelpLayout.h"

#include "conversion/PagerFilter.h"
#include "conversion/ShapeMatcher.h"
#include "conversion/Timestamp.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace tarnwick {

namespace {

const char description[] = QT_TRANSLATE_NOOP("tarnwick", R"(Cleans console logs captured from network equipment: applies the BackSpaces the
device's line editor sent, drops the pager prompt lines ("<--- More --->"),
ends every line with CR LF and, with the scroll setting on, rebuilds command
lines the device scrolled sideways. With the controls setting on, it also reads
terminal control sequences (colours, cursor moves, erasures), carriage returns
and other vendors' pager prompts ("--More--", "---(more 83%)---", ...) as a
terminal shows them, wide characters taking two columns.

Each LOG's encoding is found from its bytes (a byte order mark, well-formed
UTF-8, well-formed Shift-JIS, else the locale's) unless --encoding or the
profile's Encoding names one; UTF-16 is read and written back as UTF-16. A
terminal program's timestamp at the start of a line ("[2026-12-07
10:00:00.123] ", "[Mon Dec 07 10:00:00.123 2026] ", "[0 00:01:23.456] ",
"10:00:00 ", and the forms of --timestamp and of the profile's Timestamp1,
Timestamp2, ...) is kept, and the line is cleaned after it.

Without LOG the window opens. With LOG paths each is converted in turn into its
output file (the name up to its first dot, then the output extension; with the
overwrite setting, the log itself), with the settings of the profile
Tarnwick.ini and of the options, and the program ends by itself. Without a
display the window is not shown. With -c, or when a LOG is "-" (standard
input), every LOG's cleaned text goes to standard output instead, in order,
and no window is shown. Options come before the LOGs; a LOG that begins with
"-" is given after "--" or as "./-name".)");

const char exitStatus[] = QT_TRANSLATE_NOOP("tarnwick", R"(
Exit status:
  0    every LOG was converted
  1    one or more LOGs were not converted (failed, aborted, refused, or left
       when the batch was ended)
  2    usage error, or neither a display nor a LOG
  128+n  ended by signal n
)");

const char logDescription[] = QT_TRANSLATE_NOOP("tarnwick", "A log to convert; \"-\" is standard input.");

// The options' names, each written once: the parser is configured and read with them.
namespace name {
const QString help = u"help"_s;
const QString version = u"version"_s;
const QString standardOutput = u"stdout"_s;
const QString standardOutputShort = u"c"_s;
const QString follow = u"follow"_s;
const QString followShort = u"f"_s;
const QString extension = u"ext"_s;
const QString encoding = u"encoding"_s;
const QString screenRows = u"screen-rows"_s;
const QString pager = u"pager"_s;
const QString secret = u"secret"_s;
const QString timestamp = u"timestamp"_s;
const QString include = u"include"_s;
const QString outputFolder = u"output-dir"_s;
const QString outputFolderShort = u"o"_s;
const QString jobs = u"jobs"_s;
const QString jobsShort = u"j"_s;
} // namespace name

// A setting that the command line turns on with --NAME and off with --no-NAME, for this run.
struct Switch {
    QString on;
    const char *onDescription;
    const char *offDescription;
    std::optional<bool> RunSettings::*setting;
    QString letter{}; // the short name of --NAME, where it has one

    QStringList onNames() const { return letter.isEmpty() ? QStringList{on} : QStringList{letter, on}; }
    QString off() const { return u"no-"_s + on; }
};

const Switch switches[] = {
    {u"overwrite"_s, QT_TRANSLATE_NOOP("tarnwick", "Write the result over the LOG itself (this run only)."),
     QT_TRANSLATE_NOOP("tarnwick", "Write the result into the output file (this run only)."), &RunSettings::overWrite},
    {u"scroll"_s, QT_TRANSLATE_NOOP("tarnwick", "Rebuild command lines scrolled sideways (this run only)."),
     QT_TRANSLATE_NOOP("tarnwick", "Leave command lines scrolled sideways as they are (this run only)."), &RunSettings::scroll},
    {u"controls"_s, QT_TRANSLATE_NOOP("tarnwick", "Read terminal control sequences, carriage returns and other pagers (this run only)."),
     QT_TRANSLATE_NOOP("tarnwick", "Leave terminal control sequences as they are (this run only)."), &RunSettings::controls},
    {u"keep-dots"_s, QT_TRANSLATE_NOOP("tarnwick", "Cut the output name at the log name's last dot, not its first (this run only)."),
     QT_TRANSLATE_NOOP("tarnwick", "Cut the output name at the log name's first dot (this run only)."), &RunSettings::keepDots},
    {u"mask"_s, QT_TRANSLATE_NOOP("tarnwick", "Mask passwords, keys and communities of known shapes as <secret-N> (this run only)."),
     QT_TRANSLATE_NOOP("tarnwick", "Leave passwords, keys and communities as they are (this run only)."), &RunSettings::mask},
    {u"recursive"_s, QT_TRANSLATE_NOOP("tarnwick", "Convert the logs in the subfolders of a folder LOG too (this run only)."),
     QT_TRANSLATE_NOOP("tarnwick", "Convert only the logs directly in a folder LOG (this run only)."), &RunSettings::recursive, u"r"_s},
};

struct OptionText {
    QStringList names;
    const char *description;
    QString valueName;
};

// The options that are no switch; the switches follow the first three in the help.
const OptionText leadingOptions[] = {
    {{u"h"_s, name::help}, QT_TRANSLATE_NOOP("tarnwick", "Show this text."), {}},
    {{name::version}, QT_TRANSLATE_NOOP("tarnwick", "Show the version."), {}},
    {{name::standardOutputShort, name::standardOutput}, QT_TRANSLATE_NOOP("tarnwick", "Write each LOG's cleaned text to standard output, not into a file."), {}},
    {{name::followShort, name::follow},
     QT_TRANSLATE_NOOP("tarnwick", "Write the one LOG's cleaned text to standard output from its start and on as it grows, following its name across a rotation, until ended (Ctrl+C)."),
     {}},
};
const OptionText trailingOptions[] = {
    {{name::extension}, QT_TRANSLATE_NOOP("tarnwick", "Use EXT as the output extension (this run only)."), u"EXT"_s},
    {{name::encoding},
     QT_TRANSLATE_NOOP("tarnwick", "Read each LOG as ENCODING: auto (found per file, the default), system (the locale's), utf-8 or shift-jis (this run only)."),
     u"ENCODING"_s},
    {{name::screenRows},
     QT_TRANSLATE_NOOP("tarnwick", "With the controls setting, read each LOG on a screen of ROWS rows, from 1 to 1000 (24 by default; this run only)."),
     u"ROWS"_s},
    {{name::pager},
     QT_TRANSLATE_NOOP("tarnwick", "With the controls setting, also drop the lines that are, apart from blanks, TEXT, in which * stands for any run of characters (this run only; may be given more than once)."),
     u"TEXT"_s},
    {{name::timestamp},
     QT_TRANSLATE_NOOP("tarnwick", "Also keep FORM at the start of a line as a terminal program's timestamp: the whole prefix in strftime codes, brackets and blanks included, such as \"[%Y/%m/%d %H:%M:%S] \" (this run only; may be given more than once)."),
     u"FORM"_s},
    {{name::secret},
     QT_TRANSLATE_NOOP("tarnwick", "With the mask setting, also mask the value that {} stands for in the lines whose command is SHAPE, in which * stands for any run of characters (this run only; may be given more than once)."),
     u"SHAPE"_s},
    {{name::include},
     QT_TRANSLATE_NOOP("tarnwick", "Take the files of a folder LOG whose names match GLOB (* and ? as wildcards) as its logs, in place of the profile's LogExtensions (this run only; may be given more than once)."),
     u"GLOB"_s},
    {{name::outputFolderShort, name::outputFolder},
     QT_TRANSLATE_NOOP("tarnwick", "Write the outputs into DIR, each under the path its log has below the folder LOG it was found in (this run only)."),
     u"DIR"_s},
    {{name::jobsShort, name::jobs},
     QT_TRANSLATE_NOOP("tarnwick", "Convert up to N logs at once, from 1 to 64 (the number of processor cores by default; -j 1 converts them in order)."),
     u"N"_s},
};

void configure(QCommandLineParser &parser, Language language)
{
    parser.setApplicationDescription(text(language, description));
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    for (const OptionText &option : leadingOptions)
        parser.addOption({option.names, text(language, option.description), option.valueName});
    for (const Switch &option : switches) {
        parser.addOption({option.onNames(), text(language, option.onDescription)});
        parser.addOption({option.off(), text(language, option.offDescription)});
    }
    for (const OptionText &option : trailingOptions)
        parser.addOption({option.names, text(language, option.description), option.valueName});
    parser.addPositionalArgument(u"LOG"_s, text(language, logDescription), u"[LOG...]"_s);
}

// The argument by which the option was given: "--bogus", "-bogus", "--bogus=1" as "--bogus".
QString asTyped(const QStringList &arguments, const QString &name)
{
    for (const QString &argument : arguments) {
        const QString option = argument.section(u'=', 0, 0);
        if (option == u"-"_s + name || option == u"--"_s + name)
            return option;
    }
    return name;
}

} // namespace

QString escapedName(const QByteArray &name)
{
    QString shown;
    for (const char byte : name) {
        const auto code = static_cast<unsigned char>(byte);
        if (code >= 0x20 && code < 0x7F && code != '\\')
            shown += QLatin1Char(byte);
        else
            shown += u"\\x%1"_s.arg(int(code), 2, 16, QChar(u'0'));
    }
    return shown;
}

namespace {

HelpEntry helpEntry(const OptionText &option, Language language)
{
    QStringList names;
    for (const QString &name : option.names)
        names.append((name.size() == 1 ? u"-"_s : u"--"_s) + name);
    const QString value = option.valueName.isEmpty() ? QString() : u" <"_s + option.valueName + u'>';
    return {names.join(u", "_s) + value, text(language, option.description)};
}

} // namespace

// Laid out by hand (see laidOutHelp), in the parser's words for its headings.
QString helpText(Language language)
{
    const auto qt = [language](const char *source) {
        return language == Language::Japanese ? QCoreApplication::translate("QCommandLineParser", source) : QString::fromUtf8(source);
    };
    QList<HelpEntry> options;
    for (const OptionText &option : leadingOptions)
        options.append(helpEntry(option, language));
    for (const Switch &option : switches) {
        options.append({(option.letter.isEmpty() ? QString() : u"-"_s + option.letter + u", "_s) + u"--"_s + option.on, text(language, option.onDescription)});
        options.append({u"--"_s + option.off(), text(language, option.offDescription)});
    }
    for (const OptionText &option : trailingOptions)
        options.append(helpEntry(option, language));
    const QList<HelpEntry> arguments{{u"LOG"_s, text(language, logDescription)}};
    const QString usage = qt("Usage: %1").arg(u"tarnwick"_s) + u' ' + qt("[options]") + u" [LOG...]"_s;
    return laidOutHelp(usage, text(language, description), {{qt("Options:"), options}, {qt("Arguments:"), arguments}},
                       text(language, exitStatus));
}

QString usageErrorText(const UsageError &error, Language language)
{
    QString what;
    switch (error.kind) {
    case UsageError::Kind::UnknownOption: what = text(language, QT_TRANSLATE_NOOP("tarnwick", "unknown option '%1'")).arg(error.argument); break;
    case UsageError::Kind::MissingValue: what = text(language, QT_TRANSLATE_NOOP("tarnwick", "missing value after '%1'")).arg(error.argument); break;
    case UsageError::Kind::UnknownEncoding:
        what = text(language, QT_TRANSLATE_NOOP("tarnwick", "unknown encoding '%1' (auto, system, utf-8 or shift-jis)")).arg(error.argument);
        break;
    case UsageError::Kind::UnusableScreenRows:
        what = text(language, QT_TRANSLATE_NOOP("tarnwick", "screen rows '%1' is no number from 1 to 1000")).arg(error.argument);
        break;
    case UsageError::Kind::UnusableJobs:
        what = text(language, QT_TRANSLATE_NOOP("tarnwick", "jobs '%1' is no number from 1 to 64")).arg(error.argument);
        break;
    case UsageError::Kind::PathInExtension:
        what = text(language, QT_TRANSLATE_NOOP("tarnwick", "the extension '%1' holds a folder separator or '..'")).arg(error.argument);
        break;
    case UsageError::Kind::UnusablePager:
        what = text(language, QT_TRANSLATE_NOOP("tarnwick", "pager prompt '%1' holds nothing but blanks and '*'")).arg(error.argument);
        break;
    case UsageError::Kind::UnusableTimestamp:
        what = text(language, QT_TRANSLATE_NOOP("tarnwick", "timestamp '%1' holds an unknown code, a lone '%' or a control character")).arg(error.argument);
        break;
    case UsageError::Kind::NoValueMarker:
        what = text(language, QT_TRANSLATE_NOOP("tarnwick", "secret shape '%1' holds no {} for the value")).arg(error.argument);
        break;
    case UsageError::Kind::NoLog:
        what = text(language, QT_TRANSLATE_NOOP("tarnwick", "'%1' needs a LOG to write out (\"-\" for standard input)")).arg(error.argument);
        break;
    case UsageError::Kind::NotOneLog:
        what = text(language, QT_TRANSLATE_NOOP("tarnwick", "'%1' follows one LOG file")).arg(error.argument);
        break;
    case UsageError::Kind::Other:
    case UsageError::Kind::None: what = error.argument; break;
    }
    return what + text(language, QT_TRANSLATE_NOOP("tarnwick", " (see tarnwick --help)"));
}

CommandLine parseCommandLine(const QList<ProgramArgument> &arguments)
{
    QStringList decoded{u"tarnwick"_s};
    for (const ProgramArgument &argument : arguments)
        decoded.append(argument.text);
    QCommandLineParser parser;
    configure(parser, Language::English);

    CommandLine line;
    if (!parser.parse(decoded)) {
        line.action = CommandLine::Action::UsageError;
        const QStringList unknown = parser.unknownOptionNames();
        if (!unknown.isEmpty()) {
            line.error = {UsageError::Kind::UnknownOption, asTyped(decoded, unknown.first())};
        } else if (const qsizetype quote = parser.errorText().indexOf(u'\''); parser.errorText().startsWith(u"Missing value"_s) && quote > 0) {
            line.error = {UsageError::Kind::MissingValue, parser.errorText().mid(quote + 1).section(u'\'', 0, 0)};
        } else {
            line.error = {UsageError::Kind::Other, parser.errorText()};
        }
        return line;
    }
    if (parser.isSet(name::help)) {
        line.action = CommandLine::Action::Help;
        return line;
    }
    if (parser.isSet(name::version)) {
        line.action = CommandLine::Action::Version;
        return line;
    }
    // Of two opposite options the later one holds.
    for (const QString &given : parser.optionNames()) {
        for (const Switch &option : switches) {
            if (option.onNames().contains(given) || given == option.off())
                line.settings.*option.setting = given != option.off();
        }
    }
    if (parser.isSet(name::extension)) {
        line.settings.fileExt = parser.value(name::extension);
        // The extension ends the output's name; a separator or ".." would make it a path.
        if (line.settings.fileExt->contains(u'/') || line.settings.fileExt->contains(u'\\') || line.settings.fileExt->contains(u".."_s)) {
            line.action = CommandLine::Action::UsageError;
            line.error = {UsageError::Kind::PathInExtension, *line.settings.fileExt};
            return line;
        }
    }
    // An option whose value must read as one: the setting, or the usage error that names it.
    const auto readValue = [&](const QString &option, auto &setting, auto read, UsageError::Kind unusable) {
        if (!parser.isSet(option))
            return true;
        setting = read(parser.value(option));
        if (setting)
            return true;
        line.action = CommandLine::Action::UsageError;
        line.error = {unusable, parser.value(option)};
        return false;
    };
    if (!readValue(name::encoding, line.settings.encoding, encodingOfOptionValue, UsageError::Kind::UnknownEncoding)
        || !readValue(name::screenRows, line.settings.screenRows, screenRowsOfValue, UsageError::Kind::UnusableScreenRows)
        || !readValue(name::jobs, line.settings.jobs, jobsOfValue, UsageError::Kind::UnusableJobs))
        return line;
    if (parser.isSet(name::outputFolder))
        line.settings.outputFolder = parser.value(name::outputFolder);
    line.settings.includes = parser.values(name::include);
    // An option given once for each of its values, each of which must be usable.
    const auto readValues = [&](const QString &option, QStringList &values, auto usable, UsageError::Kind unusable) {
        values = parser.values(option);
        const auto refused = std::ranges::find_if_not(values, usable);
        if (refused == values.end())
            return true;
        line.action = CommandLine::Action::UsageError;
        line.error = {unusable, *refused};
        return false;
    };
    if (!readValues(name::pager, line.settings.pagerPrompts, isUsablePagerPrompt, UsageError::Kind::UnusablePager)
        || !readValues(name::timestamp, line.settings.timestamps, isUsableTimestamp, UsageError::Kind::UnusableTimestamp)
        || !readValues(name::secret, line.settings.secretShapes, [](const QString &shape) { return holdsValueMarker(shape.toStdString()); },
                       UsageError::Kind::NoValueMarker))
        return line;
    line.toStandardOutput = parser.isSet(name::standardOutput);

    // The logs are the last arguments, in order; a name is passed on exactly or not at all.
    const QStringList logs = parser.positionalArguments();
    const qsizetype first = arguments.size() - logs.size();
    for (qsizetype i = 0; i < logs.size(); ++i) {
        const ProgramArgument &argument = arguments[first + i];
        if (argument.text.isEmpty())
            line.refused.append({u"\"\""_s, NotConverted::EmptyName});
        else if (!argument.exact)
            line.refused.append({escapedName(argument.bytes), NotConverted::UnencodableName});
        else
            line.logs.append(logs[i]);
        line.toStandardOutput = line.toStandardOutput || logs[i] == u"-"_s;
    }
    line.logs = expandedLogNames(line.logs);
    line.follow = parser.isSet(name::follow);
    if (line.follow && (logs.size() != 1 || logs.first() == u"-"_s || line.logs.size() > 1)) {
        line.action = CommandLine::Action::UsageError;
        const QString typed = asTyped(decoded, name::followShort);
        line.error = {UsageError::Kind::NotOneLog, typed == name::followShort ? asTyped(decoded, name::follow) : typed};
        return line;
    }
    // Without a log there is nothing to write out, and no window either: said, not ended in silence.
    if (line.toStandardOutput && logs.isEmpty()) {
        line.action = CommandLine::Action::UsageError;
        const QString typed = asTyped(decoded, name::standardOutputShort);
        line.error = {UsageError::Kind::NoLog, typed == name::standardOutputShort ? asTyped(decoded, name::standardOutput) : typed};
    }
    return line;
}

} // namespace tarnwick
