#include "SecretMasking.h"

#include "SecretShapes.h"
#include "Timestamp.h"

#include <algorithm>
#include <cstring>

namespace tarnwick {

namespace {

// What ends a private key's block.
constexpr std::string_view blockEnd = "-----END ";
// What a prompt ends with, before the command typed at it.
constexpr std::string_view promptEnds = "#>]";

std::size_t pairOf(unsigned char first, unsigned char second)
{
    return std::size_t(first) | std::size_t(second) << 8;
}

// The needles that no other needle stands in: a line that holds a longer one holds the shorter.
std::vector<std::string> shortestNeedles(std::vector<std::string> needles)
{
    std::ranges::sort(needles);
    needles.erase(std::unique(needles.begin(), needles.end()), needles.end());
    std::vector<std::string> kept;
    for (const std::string &needle : needles) {
        const bool holdsAnother = std::ranges::any_of(needles, [&](const std::string &other) {
            return other != needle && needle.find(other) != std::string::npos;
        });
        if (!holdsAnother)
            kept.push_back(needle);
    }
    return kept;
}

// Where the command after the prompt starts: after the first prompt end at a character's start.
std::size_t afterPrompt(std::string_view line, std::size_t from, CharacterRule rule)
{
    for (std::size_t at = from; at < line.size(); at += characterLength(rule, line, at)) {
        if (promptEnds.find(line[at]) != std::string_view::npos)
            return at + 1;
    }
    return std::string_view::npos;
}

} // namespace

NeedleSearch::NeedleSearch(std::vector<std::string> needles)
    : needles_(std::move(needles))
    , pairs_((std::size_t(1) << 16) / 64, 0)
{
    for (const std::string &needle : needles_) {
        const auto first = static_cast<unsigned char>(needle.front());
        if (needle.size() == 1) {
            singles_[first] = true;
            for (std::size_t second = 0; second < 256; ++second)
                pairs_[pairOf(first, static_cast<unsigned char>(second)) / 64] |= std::uint64_t(1) << (pairOf(first, static_cast<unsigned char>(second)) % 64);
        } else {
            const std::size_t pair = pairOf(first, static_cast<unsigned char>(needle[1]));
            pairs_[pair / 64] |= std::uint64_t(1) << (pair % 64);
        }
    }
}

std::size_t NeedleSearch::find(std::string_view text) const
{
    if (needles_.empty() || text.empty())
        return std::string_view::npos;
    const auto *bytes = reinterpret_cast<const unsigned char *>(text.data());
    const std::size_t size = text.size();
    for (std::size_t i = 0; i + 1 < size; ++i) {
        const std::size_t pair = pairOf(bytes[i], bytes[i + 1]);
        if ((pairs_[pair / 64] >> (pair % 64) & 1) == 0)
            continue;
        for (const std::string &needle : needles_) {
            if (needle.size() <= size - i && std::memcmp(text.data() + i, needle.data(), needle.size()) == 0)
                return i;
        }
    }
    return singles_[bytes[size - 1]] ? size - 1 : std::string_view::npos;
}

SecretMasker::SecretMasker(const QStringList &userShapes)
    : userShapes_(userShapes)
{
    for (const SecretShape &shape : secretShapes)
        builtIn_.emplace_back(shape.shape, true);
    prepare();
}

void SecretMasker::readBy(CharacterRule rule)
{
    if (rule == rule_ && user_.size() == std::size_t(userShapes_.size()))
        return;
    rule_ = rule;
    prepare();
}

void SecretMasker::prepare()
{
    user_.clear();
    for (const QString &shape : std::as_const(userShapes_)) {
        const auto text = encoded(shape, rule_);
        if (text && holdsValueMarker(*text))
            user_.emplace_back(*text, false);
    }
    std::vector<std::string> needles;
    anywhere_ = false;
    for (const auto *matchers : {&builtIn_, &user_}) {
        for (const ShapeMatcher &matcher : *matchers) {
            needles.insert(needles.end(), matcher.needles().begin(), matcher.needles().end());
            anywhere_ = anywhere_ || matcher.needles().empty();
        }
    }
    needles_ = NeedleSearch(shortestNeedles(std::move(needles)));
}

bool SecretMasker::mayHoldSecret(std::string_view line) const
{
    return inBlock_ || anywhere_ || needles_.find(line) != std::string_view::npos;
}

std::size_t SecretMasker::plainPrefix(std::string_view lines) const
{
    if (inBlock_ || anywhere_)
        return 0;
    const std::size_t found = needles_.find(lines);
    if (found == std::string_view::npos)
        return lines.size();
    const std::size_t lineEnd = lines.rfind('\n', found);
    return lineEnd == std::string_view::npos ? 0 : lineEnd + 1;
}

std::uint64_t SecretMasker::numberOf(std::string_view value)
{
    const auto [at, added] = numbers_.try_emplace(std::string(value), numbers_.size() + 1);
    return at->second;
}

std::string_view SecretMasker::masked(std::string_view line)
{
    if (inBlock_)
        return maskedBody(line);
    const std::size_t from = timestampLength(line);
    std::optional<ShapeMatcher::Match> best;
    const ShapeMatcher *bestShape = nullptr;
    for (const std::size_t start : {from, afterPrompt(line, from, rule_)}) {
        if (start == std::string_view::npos)
            continue;
        splitWords(line, start, words_);
        for (const auto *matchers : {&builtIn_, &user_}) {
            for (const ShapeMatcher &matcher : *matchers) {
                const bool holdsNeedle = matcher.needles().empty()
                    || std::ranges::any_of(matcher.needles(), [&](const std::string &needle) { return line.find(needle) != std::string_view::npos; });
                if (!holdsNeedle)
                    continue;
                // The shape that takes the most words wins: "set secret ENC V" is FortiOS's
                // password, not a Junos secret "ENC".
                const auto match = matcher.match(line, words_, 0, rule_);
                if (match && (!best || match->words > best->words)) {
                    best = match;
                    bestShape = &matcher;
                }
            }
        }
    }
    if (!best)
        return line;
    if (!bestShape->hasValue()) {
        inBlock_ = true;
        blockNumber_ = 0;
        return line;
    }
    return replaced(line, *best);
}

// A line of a private key's block: what follows its timestamp and indentation is the key, the
// whole block one secret.
std::string_view SecretMasker::maskedBody(std::string_view line)
{
    if (line.find(blockEnd) != std::string_view::npos) {
        inBlock_ = false;
        return line;
    }
    const std::size_t stamp = timestampLength(line);
    const std::size_t body = line.find_first_not_of(" \t", stamp);
    if (body == std::string_view::npos)
        return line;
    if (blockNumber_ == 0) {
        blockNumber_ = numberOf(line.substr(body));
        ++count_;
    }
    line_.assign(line.substr(0, body));
    line_ += "<secret-" + std::to_string(blockNumber_) + ">";
    return line_;
}

std::string_view SecretMasker::replaced(std::string_view line, const ShapeMatcher::Match &match)
{
    std::vector<ValueSpan> spans;
    for (const auto &value : match.values) {
        if (value)
            spans.push_back(*value);
    }
    std::ranges::sort(spans, {}, &ValueSpan::begin);
    line_.clear();
    std::size_t at = 0;
    for (const ValueSpan &span : spans) {
        line_.append(line.substr(at, span.begin - at));
        line_ += "<secret-" + std::to_string(numberOf(line.substr(span.begin, span.end - span.begin))) + ">";
        ++count_;
        at = span.end;
    }
    line_.append(line.substr(at));
    return line_;
}

void MaskingSink::write(std::string_view lines)
{
    while (!lines.empty()) {
        const std::size_t plain = masker_.plainPrefix(lines);
        if (plain > 0)
            next_.write(lines.substr(0, plain));
        lines.remove_prefix(plain);
        if (lines.empty())
            return;
        // Each line ends with CR LF.
        const std::size_t lf = lines.find('\n');
        const std::size_t end = lf == std::string_view::npos ? lines.size() : lf + 1;
        writeLine(lines.substr(0, end >= 2 ? end - 2 : 0));
        lines.remove_prefix(end);
    }
}

void MaskingSink::writeLine(std::string_view line)
{
    next_.writeLine(masker_.mayHoldSecret(line) ? masker_.masked(line) : line);
}

} // namespace tarnwick
