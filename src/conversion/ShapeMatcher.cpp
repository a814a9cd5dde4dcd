#include "ShapeMatcher.h"

#include "SecretShapes.h"

#include <algorithm>

namespace tarnwick {

namespace {

bool isBlank(char c)
{
    return wordBlanks.find(c) != std::string_view::npos;
}

bool isNumber(std::string_view word)
{
    return !word.empty() && std::ranges::all_of(word, [](char c) { return c >= '0' && c <= '9'; });
}

std::vector<std::string_view> split(std::string_view text, char separator)
{
    std::vector<std::string_view> parts;
    for (std::size_t at = 0; at <= text.size();) {
        const std::size_t end = std::min(text.find(separator, at), text.size());
        if (end > at)
            parts.push_back(text.substr(at, end - at));
        at = end + 1;
    }
    return parts;
}

// A built-in shape with its type words written out and its brackets words of their own.
std::string expanded(std::string_view shape)
{
    std::string text;
    for (std::size_t at = 0; at < shape.size(); ++at) {
        constexpr std::string_view type = "<type>";
        if (shape.substr(at).starts_with(type)) {
            text += typeWords;
            at += type.size() - 1;
        } else if (shape[at] == '[' || shape[at] == ']') {
            text += ' ';
            text += shape[at];
            text += ' ';
        } else {
            text += shape[at];
        }
    }
    return text;
}

// The words of all built-in shapes, which a strict value is not.
const std::vector<std::string> &shapeKeywords()
{
    static const std::vector<std::string> keywords = [] {
        std::vector<std::string> words;
        for (const SecretShape &shape : secretShapes) {
            const std::string text = expanded(shape.shape);
            for (const std::string_view token : split(text, ' ')) {
                if (token.front() == '<' || token.front() == '{' || token.front() == '*' || token == "[" || token == "]")
                    continue;
                for (const std::string_view word : split(token, '|'))
                    words.emplace_back(word);
            }
        }
        return words;
    }();
    return keywords;
}

// The value in its word: inside its quotation marks, or without the semicolon that ends a Junos
// statement.
std::string_view valueOf(std::string_view word)
{
    if (word.size() >= 2 && word.front() == '"') {
        const std::size_t close = word.find('"', 1);
        if (close != std::string_view::npos)
            return word.substr(1, close - 1);
    }
    if (word.ends_with(';'))
        word.remove_suffix(1);
    return word;
}

} // namespace

void splitWords(std::string_view text, std::size_t from, std::vector<LineWord> &words)
{
    words.clear();
    std::size_t at = from;
    while (words.size() < mostLineWords) {
        while (at < text.size() && isBlank(text[at]))
            ++at;
        if (at == text.size())
            return;
        const std::size_t begin = at;
        if (text[at] == '"') {
            const std::size_t close = text.find('"', at + 1);
            at = close == std::string_view::npos ? text.size() : close + 1;
        }
        while (at < text.size() && !isBlank(text[at]))
            ++at;
        words.push_back({begin, at});
    }
}

bool holdsValueMarker(std::string_view shape)
{
    return shape.find(valueMarker) != std::string_view::npos;
}

ShapeMatcher::ShapeMatcher(std::string_view shape, bool builtIn)
    : builtIn_(builtIn)
{
    const std::string text = builtIn ? expanded(shape) : std::string(shape);
    std::vector<std::string_view> tokens;
    for (const std::string_view token : split(text, ' '))
        tokens.push_back(token);
    std::vector<Literal> literals;
    parse(tokens, 0, 0, literals);
    add({});
    // The longest of the words every match holds (the shortest of its alternatives counting),
    // the later of two alike: the earlier ones are the commonest ("ip", "set").
    const Literal *chosen = nullptr;
    const auto shortest = [](const Literal &literal) {
        return std::ranges::min(literal.alternatives, {}, &std::string::size).size();
    };
    for (const Literal &literal : literals) {
        if (literal.required && (!chosen || shortest(literal) >= shortest(*chosen)))
            chosen = &literal;
    }
    if (chosen)
        needles_ = chosen->alternatives;
}

std::size_t ShapeMatcher::add(Step step)
{
    step.next = steps_.size() + 1;
    steps_.push_back(std::move(step));
    return steps_.size() - 1;
}

std::size_t ShapeMatcher::parse(const std::vector<std::string_view> &tokens, std::size_t at, int depth, std::vector<Literal> &literals)
{
    for (; at < tokens.size(); ++at) {
        const std::string_view token = tokens[at];
        if (builtIn_ && token == "]")
            return at;
        if (builtIn_ && token == "[") {
            const std::size_t split = add({Kind::Split});
            at = parse(tokens, at + 1, depth + 1, literals);
            steps_[split].other = steps_.size();
            continue;
        }
        if (token == "*") {
            // The way out first: as few words as will do.
            const std::size_t loop = add({Kind::Split});
            const std::size_t any = add({Kind::AnyWord});
            steps_[any].next = loop;
            steps_[loop].next = steps_.size();
            steps_[loop].other = any;
            continue;
        }
        const bool required = depth == 0 && values_ == 0;
        if (builtIn_ && (token == "{}" || token == "{!}")) {
            Step value{Kind::Value};
            value.slot = values_++;
            value.strict = token == "{!}";
            add(std::move(value));
        } else if (builtIn_ && token == "<n>") {
            add({Kind::Number});
        } else if (builtIn_ && token == "<w>") {
            add({Kind::AnyWord});
        } else if (builtIn_) {
            Step word{Kind::Word};
            for (const std::string_view alternative : split(token, '|'))
                word.words.emplace_back(alternative);
            literals.push_back({word.words, required});
            add(std::move(word));
        } else if (const std::size_t marker = token.find(valueMarker); marker != std::string_view::npos) {
            Step value{Kind::Value};
            value.slot = std::min(values_++, std::size_t(1));
            value.words.emplace_back(token.substr(0, marker));
            if (marker > 0)
                literals.push_back({value.words, required});
            add(std::move(value));
        } else if (token.find('*') != std::string_view::npos) {
            Step word{Kind::Wildcard};
            word.wildcard.emplace(token);
            std::string_view longest;
            for (const std::string_view piece : split(token, '*'))
                longest = piece.size() > longest.size() ? piece : longest;
            literals.push_back({{std::string(longest)}, required});
            add(std::move(word));
        } else {
            Step word{Kind::Word};
            word.words.emplace_back(token);
            literals.push_back({word.words, required});
            add(std::move(word));
        }
    }
    return at;
}

bool ShapeMatcher::takes(const Step &step, std::string_view word, CharacterRule rule) const
{
    switch (step.kind) {
    case Kind::Word: return std::ranges::find(step.words, word) != step.words.end();
    case Kind::Number: return isNumber(word);
    case Kind::AnyWord: return true;
    case Kind::Wildcard: return step.wildcard->matches(word, rule);
    case Kind::Value: {
        const std::string_view prefix = step.words.empty() ? std::string_view() : std::string_view(step.words.front());
        if (!word.starts_with(prefix) || valueOf(word.substr(prefix.size())).empty())
            return false;
        const std::string_view value = valueOf(word);
        return !step.strict || (!isNumber(value) && std::ranges::find(shapeKeywords(), value) == shapeKeywords().end());
    }
    case Kind::Split:
    case Kind::Match: break;
    }
    return false;
}

std::optional<ShapeMatcher::Match> ShapeMatcher::match(std::string_view text, const std::vector<LineWord> &words, std::size_t first,
                                                       CharacterRule rule) const
{
    // Each thread: a step and the values taken so far.
    using Values = std::array<std::optional<ValueSpan>, 2>;
    struct Thread {
        std::size_t step;
        Values values;
    };
    std::vector<Thread> current;
    std::vector<Thread> next;
    std::vector<std::size_t> seen(steps_.size(), 0);
    std::size_t generation = 1;
    const auto addThread = [&](auto &self, std::vector<Thread> &list, std::size_t step, const Values &values) -> void {
        if (seen[step] == generation)
            return;
        seen[step] = generation;
        const Step &here = steps_[step];
        if (here.kind == Kind::Split) {
            self(self, list, here.next, values);
            self(self, list, here.other, values);
        } else {
            list.push_back({step, values});
        }
    };
    addThread(addThread, current, 0, {});
    std::optional<Match> best;
    for (std::size_t i = first; !current.empty(); ++i) {
        ++generation;
        next.clear();
        for (const Thread &thread : current) {
            const Step &step = steps_[thread.step];
            if (step.kind == Kind::Match) {
                // The threads after it are worth less.
                best = Match{i - first, thread.values};
                break;
            }
            if (i == words.size())
                continue;
            const std::string_view word = text.substr(words[i].begin, words[i].end - words[i].begin);
            if (!takes(step, word, rule))
                continue;
            Values values = thread.values;
            if (step.kind == Kind::Value) {
                const std::string_view value = valueOf(word.substr(step.words.empty() ? 0 : step.words.front().size()));
                const auto begin = std::size_t(value.data() - text.data());
                values[step.slot] = ValueSpan{begin, begin + value.size()};
            }
            addThread(addThread, next, step.next, values);
        }
        std::swap(current, next);
        if (i == words.size())
            break;
    }
    return best;
}

} // namespace tarnwick
