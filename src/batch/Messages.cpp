#include "Messages.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace tarnwick {

namespace {

using Failure = RunOutcome::Failure;

struct FailureTexts {
    const char *sentence; // %1 the file, %2 the system's reason, %3 the other file
    const char *reason;   // %1 the system's reason, %3 the other file
};

FailureTexts textsOf(Failure failure)
{
    switch (failure) {
    case Failure::OpenSource:
        return {QT_TRANSLATE_NOOP("tarnwick", "Cannot open \"%1\": %2"), QT_TRANSLATE_NOOP("tarnwick", "cannot open: %1")};
    case Failure::ReadSource:
        return {QT_TRANSLATE_NOOP("tarnwick", "Cannot read \"%1\": %2"), QT_TRANSLATE_NOOP("tarnwick", "cannot read: %1")};
    case Failure::CreateTemporary:
        return {QT_TRANSLATE_NOOP("tarnwick", "Cannot create the temporary file \"%1\": %2"),
                QT_TRANSLATE_NOOP("tarnwick", "cannot create the temporary file: %1")};
    case Failure::WriteTemporary:
        return {QT_TRANSLATE_NOOP("tarnwick", "Cannot write the temporary file \"%1\": %2"),
                QT_TRANSLATE_NOOP("tarnwick", "cannot write the temporary file: %1")};
    case Failure::ReadTemporary:
        return {QT_TRANSLATE_NOOP("tarnwick", "Cannot read the temporary file \"%1\": %2"),
                QT_TRANSLATE_NOOP("tarnwick", "cannot read the temporary file: %1")};
    case Failure::DeleteTemporary:
        return {QT_TRANSLATE_NOOP("tarnwick", "Cannot delete the temporary file \"%1\": %2"),
                QT_TRANSLATE_NOOP("tarnwick", "cannot delete the temporary file: %1")};
    case Failure::WriteOutput:
        return {QT_TRANSLATE_NOOP("tarnwick", "Cannot write \"%1\": %2"), QT_TRANSLATE_NOOP("tarnwick", "cannot write: %1")};
    case Failure::OutputReadOnly:
        return {QT_TRANSLATE_NOOP("tarnwick", "Cannot write \"%1\": the file is read-only"),
                QT_TRANSLATE_NOOP("tarnwick", "cannot write: the file is read-only")};
    case Failure::SourceIsTemporary:
        return {QT_TRANSLATE_NOOP("tarnwick", "Cannot convert \"%1\": it is the program's own temporary file"),
                QT_TRANSLATE_NOOP("tarnwick", "cannot convert: it is the program's own temporary file")};
    case Failure::OutputIsSource:
        return {QT_TRANSLATE_NOOP("tarnwick", "Cannot convert \"%1\": the output file would be the log itself. Turn on overwriting of the log, or choose another output extension."),
                QT_TRANSLATE_NOOP("tarnwick", "not converted: the output file would be the log itself (turn on overwriting, or choose another extension)")};
    case Failure::OutputOfAnother:
        return {QT_TRANSLATE_NOOP("tarnwick", "Cannot convert \"%1\": its output file holds what this batch wrote for \"%3\" and would be replaced."),
                QT_TRANSLATE_NOOP("tarnwick", "not converted: its output file holds what this batch wrote for %3")};
    case Failure::UntrustedLink:
        return {QT_TRANSLATE_NOOP("tarnwick", "Cannot write \"%1\": it is a symbolic link that another user made in a shared folder."),
                QT_TRANSLATE_NOOP("tarnwick", "cannot write: a symbolic link that another user made in a shared folder")};
    case Failure::SourceNotAFile:
        return {QT_TRANSLATE_NOOP("tarnwick", "Cannot convert \"%1\": it is a device, not a file."),
                QT_TRANSLATE_NOOP("tarnwick", "not converted: it is a device, not a file")};
    case Failure::SourceChanged:
        return {QT_TRANSLATE_NOOP("tarnwick", "Did not replace \"%1\": the log changed while it was converted. Convert it again once the capture is closed."),
                QT_TRANSLATE_NOOP("tarnwick", "not replaced: the log changed while it was converted; convert it again once the capture is closed")};
    case Failure::OutputChanged:
        return {QT_TRANSLATE_NOOP("tarnwick", "Did not write \"%1\": another file took its name while the log was converted."),
                QT_TRANSLATE_NOOP("tarnwick", "not written: another file took its name while the log was converted")};
    case Failure::NameOfAnother:
        return {QT_TRANSLATE_NOOP("tarnwick", "Cannot convert \"%1\": \"%3\" gives the same output name, so the existing output may be that log's. Turn on keeping the dots of file names to give each log an output of its own."),
                QT_TRANSLATE_NOOP("tarnwick", "not converted: %3 gives the same output name, so the existing output may be that log's (--keep-dots keeps the dots)")};
    case Failure::LineTooLong:
        return {QT_TRANSLATE_NOOP("tarnwick", "Cannot convert \"%1\": line %4 is too long to clean in memory."),
                QT_TRANSLATE_NOOP("tarnwick", "not converted: line %4 is too long to clean in memory")};
    case Failure::OutputIsInput:
        return {QT_TRANSLATE_NOOP("tarnwick", "Cannot convert \"%1\": standard output is the log itself."),
                QT_TRANSLATE_NOOP("tarnwick", "not converted: standard output is the log itself")};
    case Failure::None:
        break;
    }
    return {"%1", "%1"};
}

// The reasons a conversion meets, as the systems and the toolkit word them (the C library in
// English and Japanese, Windows and Wine, Qt in English and in its Japanese translation), each with the
// one text the program gives for it in Japanese, whatever the locale.
struct KnownReason {
    std::initializer_list<const char *> spellings;
    const char *text;
};

const KnownReason knownReasons[] = {
    {{"No such file or directory", "The system cannot find the file specified.", "The system cannot find the path specified.",
      "File not found.", "Path not found.",
      "そのようなファイルやディレクトリはありません"},
     QT_TRANSLATE_NOOP("tarnwick", "no such file or folder")},
    {{"Permission denied", "Operation not permitted", "Access is denied.", "Access denied.", "許可がありません", "許可されていない操作です"},
     QT_TRANSLATE_NOOP("tarnwick", "permission denied")},
    {{"Is a directory", "file to open is a directory", "Filename refers to a directory", "ディレクトリです", "ディレクトリを開こうとしました",
      "ファイルではなくディレクトリを参照しています"},
     QT_TRANSLATE_NOOP("tarnwick", "it is a folder")},
    {{"No space left on device", "Disk quota exceeded", "There is not enough space on the disk.", "Disk full.", "デバイスに空き領域がありません",
      "ディスク使用量制限を超過しました"},
     QT_TRANSLATE_NOOP("tarnwick", "the disk is full")},
    {{"Read-only file system", "The media is write protected.", "読み込み専用ファイルシステムです"},
     QT_TRANSLATE_NOOP("tarnwick", "the file system is read-only")},
    {{"File name too long", "The filename or extension is too long.", "ファイル名が長すぎます"},
     QT_TRANSLATE_NOOP("tarnwick", "the name is too long")},
    {{"Too many levels of symbolic links", "The name of the file cannot be resolved by the system.", "シンボリックリンクの階層が多すぎます"},
     QT_TRANSLATE_NOOP("tarnwick", "the symbolic links lead round in a circle")},
    {{"Text file busy", "Device or resource busy", "The process cannot access the file because it is being used by another process.",
      "Sharing violation.",
      "テキストファイルがビジー状態です", "デバイスもしくはリソースがビジー状態です"},
     QT_TRANSLATE_NOOP("tarnwick", "the file is in use")},
};

// The system's reason in the language: a known one in the program's own words in Japanese.
QString worded(const QString &reason, Language language)
{
    if (language == Language::Japanese) {
        for (const KnownReason &known : knownReasons) {
            for (const char *spelling : known.spellings) {
                if (reason == QString::fromUtf8(spelling))
                    return text(Language::Japanese, known.text);
            }
        }
    }
    return reason;
}

// The system's reason as the end of a Japanese sentence.
QString closedReason(const QString &reason, Language language)
{
    const QString shown = worded(reason, language);
    if (language == Language::English || shown.isEmpty() || shown.endsWith(u'。'))
        return shown;
    return shown + u'。';
}

// The text with the place markers it holds filled (%1 to %4 from the values in turn), in one
// pass, so that a marker inside a file name stays as it is.
QString filled(const QString &text, const QString &first, const QString &second = {}, const QString &third = {}, const QString &fourth = {})
{
    QStringList values;
    for (const auto &[marker, value] :
         {std::pair{u"%1"_s, first}, std::pair{u"%2"_s, second}, std::pair{u"%3"_s, third}, std::pair{u"%4"_s, fourth}}) {
        if (text.contains(marker))
            values.append(value);
    }
    switch (values.size()) {
    case 1: return text.arg(values[0]);
    case 2: return text.arg(values[0], values[1]);
    case 3: return text.arg(values[0], values[1], values[2]);
    case 4: return text.arg(values[0], values[1], values[2], values[3]);
    default: return text;
    }
}

QString lineNumber(const RunOutcome &outcome)
{
    return QLocale(QLocale::English, QLocale::UnitedStates).toString(qulonglong(outcome.line));
}

} // namespace

Language localeLanguage()
{
    return QLocale::system().language() == QLocale::Japanese ? Language::Japanese : Language::English;
}

void installJapaneseTranslations(QCoreApplication &application, bool toolkitTexts)
{
    static QTranslator program;
    static QTranslator toolkit;
    if (program.isEmpty() && program.load(u":/i18n/tarnwick_ja.qm"_s))
        application.installTranslator(&program);
    if (toolkitTexts && toolkit.isEmpty() && toolkit.load(u"qtbase_ja"_s, QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        application.installTranslator(&toolkit);
}

QString text(Language language, const char *source)
{
    return language == Language::Japanese ? QCoreApplication::translate("tarnwick", source) : QString::fromUtf8(source);
}

QString failureSentence(const RunOutcome &outcome, Language language)
{
    return filled(text(language, textsOf(outcome.failure).sentence), outcome.file, closedReason(outcome.reason, language), outcome.other,
                  lineNumber(outcome));
}

Problem problemOf(const RunOutcome &outcome)
{
    return {NotConverted::RunFailed, outcome};
}

Problem problemOf(const QString &file, NotConverted why, const QString &reason)
{
    RunOutcome run;
    run.file = file;
    run.reason = reason;
    return {why, run};
}

QList<Problem> notesOf(const QString &file, const RunOutcome &outcome)
{
    QList<Problem> notes;
    if (outcome.status == RunOutcome::Status::Failed)
        return notes;
    if (outcome.sourceGrew)
        notes.append(problemOf(file, NotConverted::SourceGrew));
    if (outcome.notText)
        notes.append(problemOf(file, NotConverted::NotText));
    if (outcome.erasersLost)
        notes.append(problemOf(file, NotConverted::ErasersLost));
    if (outcome.secretsMasked) {
        notes.append(problemOf(file, NotConverted::SecretsMasked));
        notes.last().run.secretsMasked = outcome.secretsMasked;
    }
    return notes;
}

QString problemReason(const Problem &problem, Language language)
{
    const char *source = "";
    switch (problem.why) {
    case NotConverted::RunFailed:
        return filled(text(language, textsOf(problem.run.failure).reason), worded(problem.run.reason, language), {}, problem.run.other,
                      lineNumber(problem.run));
    case NotConverted::Aborted: source = QT_TRANSLATE_NOOP("tarnwick", "not converted: the conversion was aborted"); break;
    case NotConverted::BatchEnded: source = QT_TRANSLATE_NOOP("tarnwick", "not converted: the batch was ended"); break;
    case NotConverted::EmptyName: source = QT_TRANSLATE_NOOP("tarnwick", "not converted: the name is empty"); break;
    case NotConverted::UnencodableName:
        source = QT_TRANSLATE_NOOP("tarnwick", "not converted: the name is not valid in the system's encoding, so it cannot be passed on exactly");
        break;
    case NotConverted::StandardOutputFailed: source = QT_TRANSLATE_NOOP("tarnwick", "cannot write to standard output: %1"); break;
    case NotConverted::StandardInputClosed: source = QT_TRANSLATE_NOOP("tarnwick", "not converted: standard input is closed"); break;
    case NotConverted::StandardOutputClosed: source = QT_TRANSLATE_NOOP("tarnwick", "cannot write to standard output: it is closed"); break;
    case NotConverted::SourceGrew:
        source = QT_TRANSLATE_NOOP("tarnwick", "note: the log grew while it was converted; the output holds what had been read");
        break;
    case NotConverted::NotText:
        source = QT_TRANSLATE_NOOP("tarnwick", "note: the log does not look like text (many control bytes at its start); it was converted anyway");
        break;
    case NotConverted::ErasersLost:
        source = QT_TRANSLATE_NOOP("tarnwick", "note: the log holds pager prompts as text and not one BackSpace or escape: the terminal program saved it as plain text and dropped the corrections typed, which cannot be rebuilt; to keep them, log with Tera Term's plain-text option off, or with PuTTY's \"All session output\"");
        break;
    case NotConverted::FolderUnreadable: source = QT_TRANSLATE_NOOP("tarnwick", "cannot read the folder: %1"); break;
    case NotConverted::LinkLoop:
        source = QT_TRANSLATE_NOOP("tarnwick", "not read: a link leads back to a folder above it");
        break;
    case NotConverted::OutputFolderUnusable: source = QT_TRANSLATE_NOOP("tarnwick", "cannot make the output folder: %1; nothing was converted"); break;
    case NotConverted::OutputFolderInsideLogs:
        source = QT_TRANSLATE_NOOP("tarnwick", "the output folder is inside the folder of logs %1, whose outputs would become logs; nothing was converted");
        break;
    case NotConverted::SecretsMasked: {
        const std::uint64_t count = problem.run.secretsMasked.value_or(0);
        source = count == 1 ? QT_TRANSLATE_NOOP("tarnwick", "%1 secret masked") : QT_TRANSLATE_NOOP("tarnwick", "%1 secrets masked");
        return text(language, source).arg(QLocale(QLocale::English, QLocale::UnitedStates).toString(qulonglong(count)));
    }
    }
    return filled(text(language, source), worded(problem.run.reason, language));
}

QString batchSummaryText(const BatchSummary &summary, Language language)
{
    // Enough to recognise a short batch; a long one is counted.
    constexpr qsizetype shownOutputs = 10;
    QString words = text(language, QT_TRANSLATE_NOOP("tarnwick", "Logs converted: %1")).arg(summary.outputs.size());
    for (const QString &output : summary.outputs.first(std::min(summary.outputs.size(), shownOutputs)))
        words += u"\n"_s + output;
    if (summary.outputs.size() > shownOutputs)
        words += u"\n"_s + text(language, QT_TRANSLATE_NOOP("tarnwick", "and %1 more")).arg(summary.outputs.size() - shownOutputs);
    if (summary.problems.isEmpty())
        return words;
    words += u"\n\n"_s + text(language, QT_TRANSLATE_NOOP("tarnwick", "These files were not converted:"));
    for (const Problem &problem : summary.problems)
        words += u"\n"_s + problem.file() + u": "_s + problemReason(problem, language);
    return words;
}

} // namespace tarnwick
