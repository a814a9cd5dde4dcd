#include "SecretMasking.h"

#include "SecretShapes.h"
#include "Simd.h"
#include "Timestamp.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace tarnwick {

namespace {

// What ends a private key's block.
constexpr std::string_view blockEnd = "-----END ";
// What a prompt ends with, before the command typed at it.
constexpr std::string_view promptEnds = "#>]";

// A pair of bytes folded into the shift table's 4096 places, which stay in the nearest cache:
// pairs that share a place share the shortest shift, which costs only a step now and then.
std::size_t pairOf(unsigned char first, unsigned char second)
{
    return (std::size_t(first) * 64 ^ std::size_t(second)) & 0xFFF;
}

// The fewest ranges, at most `most`, that hold every one of `bytes` and as few other bytes as
// they can: each byte a range of its own, then the two nearest ranges made one until few enough
// remain.
std::vector<std::pair<unsigned char, unsigned char>> coveringRanges(std::string bytes, std::size_t most)
{
    std::ranges::sort(bytes, {}, [](char c) { return static_cast<unsigned char>(c); });
    bytes.erase(std::unique(bytes.begin(), bytes.end()), bytes.end());
    std::vector<std::pair<unsigned char, unsigned char>> ranges; // lowest and highest
    for (const char c : bytes)
        ranges.emplace_back(static_cast<unsigned char>(c), static_cast<unsigned char>(c));
    while (ranges.size() > most) {
        std::size_t nearest = 0;
        for (std::size_t k = 1; k + 1 < ranges.size(); ++k) {
            if (ranges[k + 1].first - ranges[k].second < ranges[nearest + 1].first - ranges[nearest].second)
                nearest = k;
        }
        ranges[nearest].second = ranges[nearest + 1].second;
        ranges.erase(ranges.begin() + std::ptrdiff_t(nearest) + 1);
    }
    return ranges;
}

// The needles that no other needle stands in (or, with `atWordStarts`, begins): a line that holds
// a longer one holds the shorter, where it may stand inside a word.
std::vector<std::string> shortestNeedles(std::vector<std::string> needles, bool atWordStarts)
{
    std::ranges::sort(needles);
    needles.erase(std::unique(needles.begin(), needles.end()), needles.end());
    std::vector<std::string> kept;
    for (const std::string &needle : needles) {
        const bool holdsAnother = std::ranges::any_of(needles, [&](const std::string &other) {
            return other != needle && (atWordStarts ? needle.starts_with(other) : needle.find(other) != std::string::npos);
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

NeedleSearch::NeedleSearch(std::vector<std::string> needles, std::string_view wordStarts)
    : needles_(std::move(needles))
    , prefixes_((std::size_t(1) << prefixBits) / 64, 0)
{
    for (const char c : wordStarts) {
        if (static_cast<unsigned char>(c) > ' ')
            startsAboveBlank_ += c;
    }
    if (needles_.empty())
        return;
    std::string firstBytes;
    for (const std::string &needle : needles_)
        firstBytes += needle.front();
    for (const auto &[low, high] : coveringRanges(firstBytes, mostRanges))
        firstRanges_.push_back({low, static_cast<unsigned char>(high - low)});
    shortest_ = std::ranges::min(needles_, {}, &std::string::size).size();
    prefixed_ = shortest_ >= prefixLength;
    // A window of one byte cannot move further than one.
    const std::size_t most = shortest_ > 1 ? shortest_ - 1 : 1;
    shifts_.assign(std::size_t(1) << 12, static_cast<std::uint8_t>(std::min<std::size_t>(most, 255)));
    for (std::size_t n = 0; n < needles_.size(); ++n) {
        const std::string &needle = needles_[n];
        byFirst_[static_cast<unsigned char>(needle.front())].push_back(n);
        if (prefixed_) {
            const std::size_t hash = prefixHash(firstThree(needle.data()));
            prefixes_[hash / 64] |= std::uint64_t(1) << (hash % 64);
        }
        for (std::size_t q = 1; q < shortest_; ++q) {
            std::uint8_t &shift = shifts_[pairOf(static_cast<unsigned char>(needle[q - 1]), static_cast<unsigned char>(needle[q]))];
            shift = std::min(shift, static_cast<std::uint8_t>(std::min<std::size_t>(shortest_ - 1 - q, 255)));
        }
    }
}

bool NeedleSearch::comparedAt(std::string_view text, std::size_t i) const
{
    for (const std::size_t n : byFirst_[static_cast<unsigned char>(text[i])]) {
        const std::string &needle = needles_[n];
        if (needle.size() <= text.size() - i && std::memcmp(text.data() + i, needle.data(), needle.size()) == 0)
            return true;
    }
    return false;
}

#if TARNWICK_SSE2
std::size_t NeedleSearch::findAtWordStarts(std::string_view text) const
{
    if (needleAt(text, 0))
        return 0;
    for (std::size_t at = nextWordStart(text, 1); at != std::string_view::npos; at = nextWordStart(text, at + 1)) {
        if (comparedAt(text, at))
            return at;
    }
    return std::string_view::npos;
}

// The first place from `from` (at least 1) on where a word begins whose first bytes may begin a
// needle (mayBeginAt). It calls nothing, so that its vectors stay in registers.
std::size_t NeedleSearch::nextWordStart(std::string_view text, std::size_t from) const
{
    // Each test gives a byte that is zero where it holds (a difference, or a difference that
    // saturates at zero below a bound), so that they combine by minimum (either holds) and by
    // OR (both hold), and only the end compares: fewer steps than a mask for each test. The
    // steps are written out, the three prompt ends and the two ranges repeated where there are
    // fewer, so that every build keeps the vectors in registers.
    static_assert(mostStarts == 3 && mostRanges == 2);
    const auto splat = [](unsigned char byte) { return _mm_set1_epi8(static_cast<char>(byte)); };
    const auto end = [&](std::size_t k) { return splat(static_cast<unsigned char>(startsAboveBlank_[k % startsAboveBlank_.size()])); };
    const auto range = [&](std::size_t k) { return firstRanges_[k % firstRanges_.size()]; };
    const __m128i blank = splat(' ');
    const __m128i end0 = end(0);
    const __m128i end1 = end(1);
    const __m128i end2 = end(2);
    const __m128i low0 = splat(range(0).low);
    const __m128i width0 = splat(range(0).width);
    const __m128i low1 = splat(range(1).low);
    const __m128i width1 = splat(range(1).width);
    // The word starts with a needle's first byte among the 16 places from `at`, a bit each.
    const auto sixteen = [&](const char *at) {
        const __m128i before = _mm_loadu_si128(reinterpret_cast<const __m128i *>(at - 1));
        // The bytes up to a blank stand for the blanks and line ends: the few controls among
        // them are false alarms, which cost a look at their line only.
        const __m128i start = _mm_min_epu8(_mm_min_epu8(_mm_subs_epu8(before, blank), _mm_xor_si128(before, end0)),
                                           _mm_min_epu8(_mm_xor_si128(before, end1), _mm_xor_si128(before, end2)));
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i *>(at));
        const __m128i first = _mm_min_epu8(_mm_subs_epu8(_mm_sub_epi8(bytes, low0), width0), _mm_subs_epu8(_mm_sub_epi8(bytes, low1), width1));
        return std::uint64_t(static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_or_si128(start, first), _mm_setzero_si128()))));
    };
    // 64 places a round rather than 16: the end of the round's candidates, which the processor
    // cannot foresee, comes a quarter as often.
    constexpr std::size_t round = 64;
    const auto candidates = [&](const char *at) { return sixteen(at) | sixteen(at + 16) << 16 | sixteen(at + 32) << 32 | sixteen(at + 48) << 48; };
    // The first of the candidates from `at` (the place `offset` in the text) that the prefix
    // table lets pass, its 3 bytes read as one (little-endian, as every processor with SSE2 is):
    // the 4 bytes from a candidate are always there to read.
    const auto firstOf = [&](std::uint64_t bits, const char *at, std::size_t offset) {
        for (; bits != 0; bits &= bits - 1) {
            const auto place = static_cast<std::size_t>(std::countr_zero(bits));
            std::uint32_t four = 0;
            std::memcpy(&four, at + place, sizeof four);
            if (!prefixed_ || prefixKnown(four & 0xFFFFFF))
                return offset + place;
        }
        return std::string_view::npos;
    };
    std::size_t i = from;
    for (; i + round + 3 <= text.size(); i += round) {
        if (const std::size_t found = firstOf(candidates(text.data() + i), text.data() + i, i); found != std::string_view::npos)
            return found;
    }
    // The last places, fewer than two rounds: a copy of them and the byte before them, with
    // zeros after, where the reads cannot reach past the text's end; the places past it are
    // left out.
    const std::size_t rest = text.size() - i;
    std::array<char, 1 + 2 * round + 3> last{};
    std::memcpy(last.data(), text.data() + i - 1, rest + 1);
    for (std::size_t k = 0; k < rest; k += round) {
        std::uint64_t bits = candidates(last.data() + 1 + k);
        if (rest - k < round)
            bits &= (std::uint64_t(1) << (rest - k)) - 1;
        if (const std::size_t found = firstOf(bits, last.data() + 1 + k, i + k); found != std::string_view::npos)
            return found;
    }
    return std::string_view::npos;
}
#endif

std::size_t NeedleSearch::find(std::string_view text) const
{
    if (needles_.empty() || text.empty())
        return std::string_view::npos;
#if TARNWICK_SSE2
    if (!startsAboveBlank_.empty() && startsAboveBlank_.size() <= mostStarts)
        return findAtWordStarts(text);
#endif
    if (shortest_ < 2) {
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (needleAt(text, i))
                return i;
        }
        return std::string_view::npos;
    }
    const auto *bytes = reinterpret_cast<const unsigned char *>(text.data());
    for (std::size_t end = shortest_ - 1; end < text.size();) {
        const std::uint8_t shift = shifts_[pairOf(bytes[end - 1], bytes[end])];
        if (shift > 0) {
            end += shift;
            continue;
        }
        const std::size_t start = end + 1 - shortest_;
        if (needleAt(text, start))
            return start;
        ++end;
    }
    return std::string_view::npos;
}

SecretMasker::SecretMasker(const QStringList &userShapes, const QStringList &timestamps)
    : userShapes_(userShapes)
    , userTimestamps_(timestamps)
{
    for (const SecretShape &shape : secretShapes)
        builtIn_.emplace_back(shape.shape, true);
    prepare();
}

void SecretMasker::readBy(CharacterRule rule)
{
    if (rule == rule_)
        return;
    rule_ = rule;
    prepare();
}

void SecretMasker::prepare()
{
    timestamps_ = Timestamps(rule_, userTimestamps_);
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
    // The user's shapes may find their keywords inside a word ("*-key {}").
    const std::string wordStarts = std::string(wordBlanks) + '\n' + std::string(promptEnds);
    const bool atWordStarts = user_.empty();
    needles_ = NeedleSearch(shortestNeedles(std::move(needles), atWordStarts), atWordStarts ? std::string_view(wordStarts) : std::string_view());
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
    const std::size_t from = timestamps_.length(line);
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
    const std::size_t stamp = timestamps_.length(line);
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
