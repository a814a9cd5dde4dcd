#pragma once

#include "ConversionRun.h"

#include <QString>

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

// A failed run as the reason in "tarnwick: FILE: reason" (the file is outcome.file).
QString failureReason(const RunOutcome &outcome, Language language);

// Something that was not converted, told both ways: the window tells it in Japanese, standard
// error in the locale's language.
struct Problem {
    QString file;
    QString english;
    QString japanese;

    QString reason(Language language) const { return language == Language::Japanese ? japanese : english; }
};

// Why a file given to a batch was not converted, besides a failed run.
// SourceGrew is no failure: the log was converted, but is told of.
enum class NotConverted {
    Aborted,
    BatchEnded,
    EmptyName,
    UnencodableName,
    QuotationMark,
    StandardOutputFailed,
    StandardInputClosed,
    StandardOutputClosed,
    SourceGrew,
};

Problem problemOf(const RunOutcome &outcome);
// For StandardOutputFailed, `reason` is the system's.
Problem problemOf(const QString &file, NotConverted why, const QString &reason = {});

// The heading of the list of files that a batch did not convert.
QString notConvertedHeading(Language language);

} // namespace tarnwick
