#include "Timestamp.h"

#include "PagerFilter.h"

#include <algorithm>
#include <span>

namespace tarnwick {

namespace {

using Part = Timestamps::Part;
using Kind = Part::Kind;

constexpr std::array<std::string_view, 7> weekdays = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr std::array<std::string_view, 12> months = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                     "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr std::array<std::string_view, 2> halfDays = {"AM", "PM"};

// A code: the field it reads, or the codes it stands for.
struct Code {
    char letter;
    Kind kind;
    std::size_t width = 0;
    std::string_view standsFor = {};
};
constexpr std::array<Code, 19> codes = {{
    {'Y', Kind::Digits, 4},
    {'y', Kind::Digits, 2},
    {'m', Kind::Digits, 2},
    {'d', Kind::Digits, 2},
    {'e', Kind::PaddedDay},
    {'j', Kind::Digits, 3},
    {'H', Kind::Digits, 2},
    {'I', Kind::Digits, 2},
    {'M', Kind::Digits, 2},
    {'S', Kind::Digits, 2},
    {'N', Kind::Digits, 3}, // milliseconds, as Tera Term writes them
    {'s', Kind::DigitRun},
    {'p', Kind::HalfDay},
    {'a', Kind::Weekday},
    {'b', Kind::Month},
    {'F', Kind::Text, 0, "%Y-%m-%d"},
    {'T', Kind::Text, 0, "%H:%M:%S"},
    {'R', Kind::Text, 0, "%H:%M"},
    {'D', Kind::Text, 0, "%m/%d/%y"},
}};

std::span<const std::string_view> namesOf(Kind kind)
{
    switch (kind) {
    case Kind::Weekday:
        return weekdays;
    case Kind::Month:
        return months;
    case Kind::HalfDay:
        return halfDays;
    default:
        return {};
    }
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// The parts of a form, its text in the encoding of `rule`; nothing for a form that cannot be read.
bool readForm(const QString &form, CharacterRule rule, std::vector<Part> &parts)
{
    QString text;
    const auto endText = [&] {
        if (text.isEmpty())
            return true;
        const auto bytes = encoded(text, rule);
        if (!bytes)
            return false;
        parts.push_back({Kind::Text, 0, *bytes});
        text.clear();
        return true;
    };
    for (qsizetype i = 0; i < form.size(); ++i) {
        const QChar c = form[i];
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return false;
        if (c != u'%' || (i + 1 < form.size() && form[i + 1] == u'%')) {
            text += c;
            i += c == u'%' ? 1 : 0;
            continue;
        }
        if (++i == form.size())
            return false;
        const auto code = std::ranges::find(codes, form[i].unicode(), [](const Code &known) { return char16_t(known.letter); });
        if (code == codes.end() || !endText())
            return false;
        if (!code->standsFor.empty()) {
            if (!readForm(QString::fromLatin1(code->standsFor), rule, parts))
                return false;
            continue;
        }
        parts.push_back({code->kind, code->width});
    }
    return endText();
}

std::size_t matchLength(std::string_view line, const std::vector<Part> &form)
{
    std::size_t at = 0;
    const auto digit = [&] { return at < line.size() && isDigit(line[at]); };
    for (const Part &part : form) {
        switch (part.kind) {
        case Kind::Text:
            if (!line.substr(at).starts_with(part.text))
                return 0;
            at += part.text.size();
            break;
        case Kind::Digits:
            for (std::size_t n = 0; n < part.width; ++n, ++at) {
                if (!digit())
                    return 0;
            }
            break;
        case Kind::DigitRun:
            if (!digit())
                return 0;
            while (digit())
                ++at;
            break;
        case Kind::PaddedDay:
            if (at < line.size() && line[at] == ' ')
                ++at;
            else if (!digit())
                return 0;
            else
                ++at;
            if (!digit())
                return 0;
            ++at;
            break;
        default: {
            const auto names = namesOf(part.kind);
            const auto name = std::ranges::find_if(names, [&](std::string_view known) { return line.substr(at).starts_with(known); });
            if (name == names.end())
                return 0;
            at += name->size();
        }
        }
    }
    return at;
}

} // namespace

bool isUsableTimestamp(const QString &form)
{
    std::vector<Part> parts;
    return !form.isEmpty() && readForm(form, CharacterRule::Utf8, parts);
}

Timestamps::Timestamps(CharacterRule rule, const QStringList &userForms)
{
    for (const std::string_view known : knownTimestamps) {
        std::vector<Part> parts;
        readForm(QString::fromLatin1(known), rule, parts);
        add(std::move(parts));
    }
    for (const QString &form : userForms) {
        std::vector<Part> parts;
        if (!form.isEmpty() && readForm(form, rule, parts))
            add(std::move(parts));
    }
}

void Timestamps::add(std::vector<Part> form)
{
    const Part &first = form.front();
    switch (first.kind) {
    case Kind::Text:
        starts_.set(static_cast<unsigned char>(first.text.front()));
        break;
    case Kind::PaddedDay:
        starts_.set(' ');
        [[fallthrough]];
    case Kind::Digits:
    case Kind::DigitRun:
        for (char c = '0'; c <= '9'; ++c)
            starts_.set(static_cast<unsigned char>(c));
        break;
    default:
        for (const std::string_view name : namesOf(first.kind))
            starts_.set(static_cast<unsigned char>(name.front()));
    }
    forms_.push_back(std::move(form));
}

std::size_t Timestamps::length(std::string_view line) const
{
    if (line.empty() || !mayStartWith(line.front()))
        return 0;
    // The longest: a user's form may begin as a shorter known one does.
    std::size_t longest = 0;
    for (const auto &form : forms_)
        longest = std::max(longest, matchLength(line, form));
    return longest;
}

} // namespace tarnwick
