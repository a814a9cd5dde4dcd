#include "ArgumentText.h"

namespace tarnwick {

namespace {
constexpr QChar quote = u'"';
constexpr QChar blank = u' ';
} // namespace

QString argumentText(const QStringList &arguments, QStringList *unquotable)
{
    QString text;
    for (const QString &argument : arguments) {
        if (argument.contains(quote)) {
            if (unquotable)
                unquotable->append(argument);
            continue;
        }
        text += quote + argument + quote;
    }
    return text;
}

QStringList batchTokens(const QString &argumentText)
{
    QStringList tokens;
    QString rest = argumentText;
    QString token;
    QChar endMark = blank;
    while (!rest.isEmpty()) {
        const QChar c = rest.front();
        rest.remove(0, 1);
        if (c == endMark) {
            tokens.append(token);
            token.clear();
            endMark = blank;
        } else if (c == quote) {
            endMark = quote;
        } else {
            token += c;
            if (rest.isEmpty())
                rest = endMark;
        }
    }
    return tokens;
}

} // namespace tarnwick
