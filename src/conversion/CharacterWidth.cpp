#include "CharacterWidth.h"

#include "TerminalLine.h"

#include <QChar>

#include <algorithm>
#include <iterator>

namespace tarnwick {

namespace {

struct Range {
    char32_t first;
    char32_t last;
};

constexpr Range wideRanges[] =
#include "WideCharacters.inc"
    ;

// The code point of a well-formed UTF-8 sequence packed into a code, the first byte lowest.
char32_t codePoint(std::uint32_t code)
{
    const unsigned lead = code & 0xFF;
    const auto continuation = [&](int index) { return (code >> (8 * index)) & 0x3F; };
    if (lead >= 0xF0)
        return char32_t((lead & 0x07) << 18 | continuation(1) << 12 | continuation(2) << 6 | continuation(3));
    if (lead >= 0xE0)
        return char32_t((lead & 0x0F) << 12 | continuation(1) << 6 | continuation(2));
    return char32_t((lead & 0x1F) << 6 | continuation(1));
}

} // namespace

int columnsOf(std::uint32_t code, CharacterRule rule)
{
    if (code <= 0xFF)
        return 1;
    if (rule == CharacterRule::ShiftJis)
        return 2;
    const char32_t point = codePoint(code);
    const auto after = std::upper_bound(std::begin(wideRanges), std::end(wideRanges), point,
                                        [](char32_t value, const Range &range) { return value < range.first; });
    return after != std::begin(wideRanges) && point <= std::prev(after)->last ? 2 : 1;
}

bool isCombiningMark(std::uint32_t code)
{
    if (code <= 0xFF)
        return false;
    const auto category = QChar::category(codePoint(code));
    return category == QChar::Mark_NonSpacing || category == QChar::Mark_Enclosing;
}

void LineCharacters::read(std::string_view line, CharacterRule rule)
{
    line_ = line;
    rule_ = rule;
    // Bytes below 0x80 are characters of their own under both rules, so the text before the
    // first other one needs no cutting.
    const std::size_t prefix = singleBytePrefix(line);
    singleByte_ = prefix == line.size();
    columns_ = static_cast<std::int64_t>(prefix);
    if (singleByte_) {
        shapes_.clear();
        return;
    }
    // At most a character a byte, most of them of one byte and one column: those are already
    // written.
    emptyFor(shapes_, line.size());
    shapes_.assign(line.size(), 1);
    std::size_t count = prefix;
    for (std::size_t pos = prefix; pos < line.size(); ++count) {
        if (static_cast<unsigned char>(line[pos]) < 0x80) {
            ++columns_;
            ++pos;
            continue;
        }
        const std::size_t size = characterLength(rule, line, pos);
        const std::uint32_t code = characterCode(line, pos, size);
        const int columns = columnsOf(code, rule);
        const bool mark = rule == CharacterRule::Utf8 && columns == 1 && isCombiningMark(code);
        shapes_[count] = static_cast<std::uint8_t>(size | (columns == 2 ? wide : 0) | (mark ? combining : 0));
        columns_ += columns;
        pos += size;
    }
    shapes_.resize(count);
}

} // namespace tarnwick
