#include "Messages.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

using namespace Qt::StringLiterals;

namespace tarnwick {

namespace {

using Failure = RunOutcome::Failure;

struct FailureTexts {
    const char *sentence; // %1 the file, %2 the system's reason
    const char *reason;   // %1 the system's reason
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
    case Failure::None:
        break;
    }
    return {"%1", "%1"};
}

// The system's reason as the end of a Japanese sentence.
QString closedReason(const QString &reason, Language language)
{
    if (language == Language::English || reason.isEmpty() || reason.endsWith(u'。'))
        return reason;
    return reason + u'。';
}

// The text with its place markers filled; a text may leave out the system's reason.
QString filled(const QString &text, const QString &first, const QString &second = {})
{
    if (text.contains(u"%2"_s))
        return text.arg(first, second);
    return text.contains(u"%1"_s) ? text.arg(first) : text;
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
    return filled(text(language, textsOf(outcome.failure).sentence), outcome.file, closedReason(outcome.reason, language));
}

QString failureReason(const RunOutcome &outcome, Language language)
{
    return filled(text(language, textsOf(outcome.failure).reason), outcome.reason);
}

Problem problemOf(const RunOutcome &outcome)
{
    return {outcome.file, failureReason(outcome, Language::English), failureReason(outcome, Language::Japanese)};
}

Problem problemOf(const QString &file, NotConverted why, const QString &reason)
{
    const char *source = "";
    switch (why) {
    case NotConverted::Aborted: source = QT_TRANSLATE_NOOP("tarnwick", "not converted: the conversion was aborted"); break;
    case NotConverted::BatchEnded: source = QT_TRANSLATE_NOOP("tarnwick", "not converted: the batch was ended"); break;
    case NotConverted::EmptyName: source = QT_TRANSLATE_NOOP("tarnwick", "not converted: the name is empty"); break;
    case NotConverted::UnencodableName:
        source = QT_TRANSLATE_NOOP("tarnwick", "not converted: the name is not valid in the system's encoding, so it cannot be passed on exactly");
        break;
    case NotConverted::QuotationMark:
        source = QT_TRANSLATE_NOOP("tarnwick", "not converted: a path on the command line cannot hold a quotation mark");
        break;
    case NotConverted::StandardOutputFailed: source = QT_TRANSLATE_NOOP("tarnwick", "cannot write to standard output: %1"); break;
    }
    return {file, filled(text(Language::English, source), reason), filled(text(Language::Japanese, source), reason)};
}

QString notConvertedHeading(Language language)
{
    return text(language, QT_TRANSLATE_NOOP("tarnwick", "These files were not converted:"));
}

} // namespace tarnwick
