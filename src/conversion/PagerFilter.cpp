#include "PagerFilter.h"

#include "CharacterWidth.h"

#include <algorithm>
#include <cstring>

namespace tarnwick {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// How many bytes at the start of the text are the form: '#' stands for a number (one digit or
// more), '~' for one of at most three digits; every other character for itself. npos where the
// text does not begin with it.
std::size_t formLength(std::string_view text, std::string_view form)
{
    const std::size_t size = text.size();
    for (const char expected : form) {
        if (expected == '#' || expected == '~') {
            std::size_t digits = 0;
            while (digits < text.size() && isDigit(text[digits]))
                ++digits;
            if (digits == 0 || (expected == '~' && digits > 3))
                return std::string_view::npos;
            text.remove_prefix(digits);
        } else if (text.empty() || text.front() != expected) {
            return std::string_view::npos;
        } else {
            text.remove_prefix(1);
        }
    }
    return size - text.size();
}

bool matchesForm(std::string_view text, std::string_view form)
{
    return formLength(text, form) == text.size();
}

std::string_view withoutBlanks(std::string_view text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

} // namespace

std::optional<std::string> encoded(const QString &text, CharacterRule rule)
{
    if (rule == CharacterRule::Utf8)
        return text.toStdString();
    return shiftJisText(std::u16string_view(reinterpret_cast<const char16_t *>(text.utf16()), std::size_t(text.size())));
}

WildcardPrompt::WildcardPrompt(std::string_view prompt)
    : prompt_(prompt)
{
    const auto star = prompt.find('*');
    if (star == std::string_view::npos)
        return;
    starred_ = true;
    first_ = prompt.substr(0, star);
    const auto lastStar = prompt.rfind('*');
    last_ = prompt.substr(lastStar + 1);
    // Adjacent stars leave an empty piece, which stands anywhere.
    for (std::string_view middle = prompt.substr(star + 1, lastStar - star); !middle.empty();) {
        const std::size_t next = middle.find('*');
        if (next > 0) {
            Piece piece{std::string(middle.substr(0, next)), {}};
            piece.border.resize(piece.text.size());
            for (std::size_t i = 1, matched = 0; i < piece.text.size(); ++i) {
                while (matched > 0 && piece.text[i] != piece.text[matched])
                    matched = piece.border[matched - 1];
                if (piece.text[i] == piece.text[matched])
                    ++matched;
                piece.border[i] = matched;
            }
            middle_.push_back(std::move(piece));
        }
        middle.remove_prefix(next + 1);
    }
}

// The pieces between the stars are found in turn, each where it first stands at a character's
// start, by a search (Knuth-Morris-Pratt) that never goes back in the line and a cursor on the
// characters' starts that only moves forward; the pieces themselves start at one, as '*' and a
// blank are never part of another character.
bool WildcardPrompt::matches(std::string_view text, CharacterRule rule) const
{
    if (!starred_)
        return text == prompt_;
    if (text.size() < first_.size() + last_.size() || !text.starts_with(first_) || !text.ends_with(last_))
        return false;
    const std::size_t end = text.size() - last_.size();
    std::size_t characterStart = first_.size();
    std::size_t i = characterStart;
    for (const Piece &piece : middle_) {
        const std::size_t size = piece.text.size();
        std::size_t matched = 0;
        while (true) {
            if (i == end)
                return false;
            if (matched == 0) {
                const auto *at = static_cast<const char *>(std::memchr(text.data() + i, piece.text.front(), end - i));
                if (!at)
                    return false;
                i = static_cast<std::size_t>(at - text.data());
            }
            while (matched > 0 && text[i] != piece.text[matched])
                matched = piece.border[matched - 1];
            if (text[i] == piece.text[matched])
                ++matched;
            ++i;
            if (matched == size) {
                const std::size_t found = i - size;
                while (characterStart < found)
                    characterStart += characterLength(rule, text, characterStart);
                if (characterStart == found)
                    break;
                matched = piece.border[size - 1];
            }
        }
        characterStart = i;
    }
    // The last piece must start at a character's start too.
    while (characterStart < end)
        characterStart += characterLength(rule, text, characterStart);
    return characterStart == end;
}

bool isUsablePagerPrompt(const QString &prompt)
{
    return std::ranges::any_of(prompt, [](QChar c) { return c != u' ' && c != u'*'; });
}

PagerPrompts::PagerPrompts(CharacterRule rule, const QStringList &userPrompts)
    : rule_(rule)
{
    for (const QString &prompt : userPrompts) {
        if (!isUsablePagerPrompt(prompt))
            continue;
        if (const auto text = encoded(prompt, rule))
            user_.emplace_back(withoutBlanks(*text));
    }
    const auto addStart = [](std::string &starts, char c) {
        if (starts.find(c) == std::string::npos)
            starts += c;
    };
    for (const std::string_view prompt : otherPagerPrompts) {
        const bool ascii = std::ranges::all_of(prompt, [](char c) { return static_cast<unsigned char>(c) < 0x80; });
        std::vector<std::string> spellings{std::string(prompt)};
        if (!ascii) {
            if (const auto sjis = encoded(QString::fromUtf8(prompt.data(), qsizetype(prompt.size())), CharacterRule::ShiftJis))
                spellings.push_back(*sjis);
        }
        for (std::string &text : spellings) {
            LineCharacters characters;
            const CharacterRule spelt = &text == &spellings.front() ? CharacterRule::Utf8 : CharacterRule::ShiftJis;
            characters.read(text, spelt);
            const auto extra = static_cast<std::ptrdiff_t>(characters.columns()) - static_cast<std::ptrdiff_t>(text.size());
            forms_.push_back({std::move(text), extra});
        }
        addStart(starts_, prompt.front());
        addStart(erasedStarts_, prompt.front());
    }
    for (const WildcardPrompt &prompt : user_) {
        addStart(starts_, prompt.front());
        anywhere_ = anywhere_ || prompt.front() == '*';
    }
}

bool PagerPrompts::matches(std::string_view line) const
{
    line = withoutBlanks(line);
    if (line.empty())
        return false;
    return std::ranges::any_of(forms_, [&](const Form &form) { return matchesForm(line, form.text); })
        || std::ranges::any_of(user_, [&](const WildcardPrompt &prompt) { return prompt.matches(line, rule_); });
}

std::size_t PagerPrompts::erasedPromptLength(std::string_view line) const
{
    if (line.empty() || erasedStarts_.find(line.front()) == std::string::npos)
        return 0;
    for (const Form &form : forms_) {
        const std::size_t length = formLength(line, form.text);
        if (length == std::string_view::npos)
            continue;
        const auto blanks = std::size_t(std::ptrdiff_t(length) + form.extraColumns);
        if (line.substr(length, blanks).find_first_not_of(' ') == std::string_view::npos && line.size() >= length + blanks)
            return length + blanks;
    }
    return 0;
}

// The pager texts are ASCII, and an ASCII byte is always a character of its own under both
// character rules, so comparing bytes compares characters.
std::optional<std::string_view> filterPager(std::string_view line)
{
    if (line.empty() || (line.front() != pagerPrompt.front() && line.front() != promptEraser.front()))
        return line;
    if (line.starts_with(paddedPrompt))
        return line.substr(paddedPrompt.size());
    if (line.starts_with(pagerPrompt) || line == promptEraser)
        return std::nullopt;
    return line;
}

} // namespace tarnwick
