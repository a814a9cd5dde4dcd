#pragma once

#include <QList>
#include <QString>

namespace tarnwick {

// An option's or argument's names as the help shows them ("-c, --stdout", "--ext <EXT>"), and
// what it does.
struct HelpEntry {
    QString names;
    QString description;
};

// The help laid out for a terminal of `columns` columns by display width, a wide character taking
// two: the usage line, then the text's paragraphs as they are where they fit, else wrapped again; each entry
// under its heading, its names and then its description in a column of its own. A line is broken
// at a blank or between wide characters, never inside a word, never before a closing mark
// ("。", "）") nor after an opening one ("（"). Qt's own help wraps by characters, which puts a
// Japanese line at twice the width of the terminal.
QString laidOutHelp(const QString &usage, const QString &text, const QList<std::pair<QString, QList<HelpEntry>>> &sections, const QString &trailer, int columns = 80);

} // namespace tarnwick
