#pragma once

#include <QString>
#include <QStringList>

namespace tarnwick {

// The command line as one text: every argument in quotation marks, one straight after the
// other, so that batchTokens() gives back exactly the arguments. An argument that holds a
// quotation mark cannot be written so; it is left out and returned in `unquotable`.
QString argumentText(const QStringList &arguments, QStringList *unquotable = nullptr);

// The paths of an argument text. Outside a quoted part a blank ends a token; a quotation mark
// opens a quoted part, inside which blanks belong to the token and the next quotation mark
// ends it. Quotation marks never belong to a token. Empty tokens are kept: every blank that
// follows a blank, a closing quotation mark or the start of the text gives one.
QStringList batchTokens(const QString &argumentText);

} // namespace tarnwick
