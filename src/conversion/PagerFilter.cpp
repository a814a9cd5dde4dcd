#include "PagerFilter.h"

#include <algorithm>

namespace tarnwick {

namespace {

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Whether the text is the form: '#' stands for a number (one digit or more), '~' for one of at
// most three digits; every other character for itself.
bool matchesForm(std::string_view text, std::string_view form)
{
    for (const char expected : form) {
        if (expected == '#' || expected == '~') {
            std::size_t digits = 0;
            while (digits < text.size() && isDigit(text[digits]))
                ++digits;
            if (digits == 0 || (expected == '~' && digits > 3))
                return false;
            text.remove_prefix(digits);
        } else if (text.empty() || text.front() != expected) {
            return false;
        } else {
            text.remove_prefix(1);
        }
    }
    return text.empty();
}

// Whether the text is the prompt, in which '*' stands for any run of characters. The pieces
// between the stars are found in turn, each where it first stands at a character's start;
// the pieces themselves start at one, as '*' and a blank are never part of another character.
bool matchesWildcards(std::string_view text, std::string_view prompt, CharacterRule rule)
{
    const auto star = prompt.find('*');
    if (star == std::string_view::npos)
        return text == prompt;
    const std::string_view first = prompt.substr(0, star);
    const std::string_view last = prompt.substr(prompt.rfind('*') + 1);
    if (text.size() < first.size() + last.size() || !text.starts_with(first) || !text.ends_with(last))
        return false;
    const std::size_t end = text.size() - last.size();
    std::size_t pos = first.size();
    for (std::string_view middle = prompt.substr(star + 1, prompt.size() - last.size() - star - 1); !middle.empty();) {
        const std::size_t next = middle.find('*');
        const std::string_view piece = middle.substr(0, next);
        while (pos + piece.size() <= end && text.substr(pos, piece.size()) != piece)
            pos += characterLength(rule, text, pos);
        if (pos + piece.size() > end)
            return false;
        pos += piece.size();
        middle.remove_prefix(next == std::string_view::npos ? middle.size() : next + 1);
    }
    // The last piece must start at a character's start too.
    while (pos < end)
        pos += characterLength(rule, text, pos);
    return pos == end;
}

std::string_view withoutBlanks(std::string_view text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The prompt in the encoding of the rule's text.
std::optional<std::string> encoded(const QString &prompt, CharacterRule rule)
{
    if (rule == CharacterRule::Utf8)
        return prompt.toStdString();
    return shiftJisText(std::u16string_view(reinterpret_cast<const char16_t *>(prompt.utf16()), std::size_t(prompt.size())));
}

} // namespace

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
    const auto addStart = [this](char c) {
        if (starts_.find(c) == std::string::npos)
            starts_ += c;
    };
    for (const std::string_view prompt : otherPagerPrompts)
        addStart(prompt.front());
    for (const std::string &prompt : user_) {
        addStart(prompt.front());
        anywhere_ = anywhere_ || prompt.front() == '*';
    }
}

bool PagerPrompts::matches(std::string_view line) const
{
    line = withoutBlanks(line);
    if (line.empty())
        return false;
    return std::ranges::any_of(otherPagerPrompts, [&](std::string_view form) { return matchesForm(line, form); })
        || std::ranges::any_of(user_, [&](const std::string &prompt) { return matchesWildcards(line, prompt, rule_); });
}

// The pager texts are ASCII, and an ASCII byte is always a character of its own under both
// character rules, so comparing bytes compares characters.
std::optional<std::string_view> filterPager(std::string_view line)
{
    if (line.empty() || (line.front() != '<' && line.front() != ' '))
        return line;
    if (line.starts_with(paddedPrompt))
        return line.substr(paddedPrompt.size());
    if (line.starts_with(pagerPrompt) || line == promptEraser)
        return std::nullopt;
    return line;
}

} // namespace tarnwick
