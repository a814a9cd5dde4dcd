#pragma once

#include "conversion/ConversionRun.h"

#include <QList>

#include <QString>
#include <QStringList>

class QCoreApplication;

namespace tarnwick {

// The program's messages have one source, in English, and a Japanese translation
// (translations/tarnwick_ja.ts, embedded in the program). The window is Japanese whatever the
// locale; standard error follows the locale.
enum class Language { English, Japanese };

// The language of the user's locale: Japanese under a Japanese locale, English otherwise.
Language localeLanguage();

// Installs the program's Japanese texts, which text() picks per language, and, with
// `toolkitTexts`, Qt's own (qtbase_ja.qm, where it is installed): the texts of Qt's dialogs and
// menus, and the system's reasons that Qt words itself ("No such file or directory").
void installJapaneseTranslations(QCoreApplication &application, bool toolkitTexts);

// A text of the program in the language; `source` is its English text, marked for the
// translation tools with QT_TRANSLATE_NOOP("tarnwick", ...).
QString text(Language language, const char *source);

// A failed run told in a sentence for a message box, naming the file, saying what happened and,
// where it helps, what to do.
QString failureSentence(const RunOutcome &outcome, Language language);

// Why a file given to a batch was not converted: a failed run, or the batch's own reasons.
// SourceGrew is no failure: the log was converted, but is told of; so are NotText (its start did
// not look like text) and SecretsMasked, the count of the secrets masked in it (in
// run.secretsMasked) with the mask setting on.
enum class NotConverted {
    RunFailed,
    Aborted,
    BatchEnded,
    EmptyName,
    UnencodableName,
    StandardOutputFailed,
    StandardInputClosed,
    StandardOutputClosed,
    SourceGrew,
    NotText,
    SecretsMasked,
    ErasersLost,      // converted, but the terminal program had dropped the corrections typed
    FolderUnreadable, // a folder of logs, with the system's reason
    LinkLoop,         // a folder of logs reached again through a link inside it
    OutputFolderUnusable,   // the output folder cannot be made, with the system's reason
    OutputFolderInsideLogs, // the output folder is in a folder of logs read, named in run.reason
};

// Something that was not converted, as data; each front end words it in its own language.
struct Problem {
    NotConverted why = NotConverted::RunFailed;
    // The file in run.file; for RunFailed what failed, for StandardOutputFailed the system's
    // reason in run.reason.
    RunOutcome run;

    const QString &file() const { return run.file; }
};

Problem problemOf(const RunOutcome &outcome);
Problem problemOf(const QString &file, NotConverted why, const QString &reason = {});
// The notes of a log converted, in this order: it grew while it was read, its start did not look
// like text, its terminal program had dropped the corrections typed, the secrets masked in it.
QList<Problem> notesOf(const QString &file, const RunOutcome &outcome);

// The problem as the reason in "tarnwick: FILE: reason".
QString problemReason(const Problem &problem, Language language);

// What a batch did, for one message box at its end: the outputs it wrote, in order, and what it
// did not convert.
struct BatchSummary {
    QStringList outputs;
    QList<Problem> problems;
};

// The summary in words: how many logs were converted and the first outputs (a box shows only so
// many lines), then the files not converted, each with its reason, under a heading.
QString batchSummaryText(const BatchSummary &summary, Language language);

} // namespace tarnwick
