#include "HelpLayout.h"

#include "conversion/CharacterWidth.h"

#include <QStringList>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace tarnwick {

namespace {

int widthOf(char32_t character)
{
    const std::string bytes = QString::fromUcs4(&character, 1).toStdString();
    return columnsOf(characterCode(bytes, 0, bytes.size()), CharacterRule::Utf8);
}

int widthOf(const QString &text)
{
    int width = 0;
    for (const char32_t character : text.toUcs4())
        width += widthOf(character);
    return width;
}

bool closing(char32_t character)
{
    return std::u32string_view(U"、。，．）」』】〕〉》！？・ー…").find(character) != std::u32string_view::npos;
}

bool opening(char32_t character)
{
    return std::u32string_view(U"（「『【〔〈《").find(character) != std::u32string_view::npos;
}

// A piece of text that stays on one line: a word, or a wide character with the marks that hold
// on to it; and whether a blank stood before it.
struct Piece {
    std::u32string text;
    bool blankBefore = false;
    int width = 0;
};

QList<Piece> piecesOf(const QString &text)
{
    QList<Piece> pieces;
    Piece piece;
    bool blank = false;
    const auto finish = [&] {
        if (!piece.text.empty())
            pieces.append(piece);
        piece = {};
    };
    for (const char32_t character : text.toUcs4()) {
        if (character == U' ') {
            finish();
            blank = true;
            continue;
        }
        const bool wide = widthOf(character) == 2;
        const char32_t last = piece.text.empty() ? 0 : piece.text.back();
        if (closing(character) && piece.text.empty() && !blank && !pieces.isEmpty()) {
            pieces.last().text.push_back(character);
            pieces.last().width += widthOf(character);
            continue;
        }
        // Between wide characters, and between a wide one and a narrow one, a line may break.
        if (!piece.text.empty() && !closing(character) && !opening(last) && (wide || widthOf(last) == 2))
            finish();
        if (piece.text.empty())
            piece.blankBefore = blank;
        blank = false;
        piece.text.push_back(character);
        piece.width += widthOf(character);
    }
    finish();
    return pieces;
}

// The text in lines of at most `width` columns (a piece wider than that stands alone).
QStringList wrapped(const QString &text, int width)
{
    QStringList lines;
    QString line;
    int used = 0;
    for (const Piece &piece : piecesOf(text)) {
        const int gap = used > 0 && piece.blankBefore ? 1 : 0;
        if (used > 0 && used + gap + piece.width > width) {
            lines.append(line);
            line.clear();
            used = 0;
        }
        if (used > 0 && piece.blankBefore) {
            line += u' ';
            ++used;
        }
        line += QString::fromStdU32String(piece.text);
        used += piece.width;
    }
    lines.append(line);
    return lines;
}

// A paragraph's lines as they are where they all fit; else the paragraph joined (a blank between
// two lines, none where a wide character meets the break, as Japanese is written) and wrapped
// again at its first line's indentation.
QString fitted(const QString &text, int columns)
{
    QStringList lines;
    const QStringList given = text.split(u'\n');
    for (qsizetype start = 0; start < given.size();) {
        qsizetype end = start;
        while (end < given.size() && !given[end].trimmed().isEmpty())
            ++end;
        const QStringList paragraph = given.mid(start, std::max<qsizetype>(end - start, 1));
        if (std::all_of(paragraph.cbegin(), paragraph.cend(), [columns](const QString &line) { return widthOf(line) <= columns; })) {
            lines.append(paragraph);
        } else {
            const QString &first = paragraph.first();
            const qsizetype indent = std::find_if(first.cbegin(), first.cend(), [](QChar c) { return c != u' '; }) - first.cbegin();
            QString joined;
            for (const QString &line : paragraph) {
                const QString part = line.trimmed();
                if (!joined.isEmpty() && widthOf(joined.back().unicode()) == 1 && widthOf(part.front().unicode()) == 1)
                    joined += u' ';
                joined += part;
            }
            for (const QString &part : wrapped(joined, columns - int(indent)))
                lines.append(QString(indent, u' ') + part);
        }
        start = std::max(end, start + 1);
    }
    return lines.join(u'\n');
}

} // namespace

QString laidOutHelp(const QString &usage, const QString &text, const QList<std::pair<QString, QList<HelpEntry>>> &sections, const QString &trailer, int columns)
{
    // The descriptions start where the longest names end, within reason.
    int namesWidth = 0;
    for (const auto &section : sections)
        for (const HelpEntry &entry : section.second)
            namesWidth = std::max(namesWidth, widthOf(entry.names));
    const int column = std::min(2 + namesWidth + 2, columns / 3);
    QString help = usage + u'\n' + fitted(text, columns) + u'\n';
    for (const auto &[heading, entries] : sections) {
        help += u'\n' + heading + u'\n';
        for (const HelpEntry &entry : entries) {
            QString first = u"  "_s + entry.names;
            const QStringList description = wrapped(entry.description, columns - column);
            if (widthOf(first) + 2 > column) {
                help += first + u'\n';
                first.clear();
            }
            for (const QString &line : description) {
                const QString start = first.isEmpty() ? QString(column, u' ') : first + QString(column - widthOf(first), u' ');
                help += start + line + u'\n';
                first.clear();
            }
        }
    }
    return help + fitted(trailer, columns);
}

} // namespace tarnwick
