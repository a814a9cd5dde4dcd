#include "LineCleaner.h"

#include "BitCount.h"
#include "PagerFilter.h"
#include "Simd.h"

#include <algorithm>
#include <bit>
#include <optional>
#include <utility>

namespace tarnwick {

LineCleaning::LineCleaning(CharacterRule rule, bool controlsOn, const QStringList &userPrompts, const QStringList &userTimestamps)
    : rule_(rule)
    , rebuilder_(rule)
    , controlsOn_(controlsOn)
    , prompts_(rule, userPrompts)
    , timestamps_(rule, userTimestamps)
{
}

std::optional<std::string_view> LineCleaning::clean(std::string_view line, bool scrollOn)
{
    // The buffers that a huge line took are given back once it has been written, so that the
    // lines after it do not keep the memory of the largest.
    constexpr std::size_t hugeLine = 1 << 20;
    if (std::exchange(afterHugeLine_, line.size() > hugeLine)) {
        characters_ = LineCharacters();
        eraser_ = BackspaceEraser();
        rebuilder_ = ScrolledLineRebuilder(rule_);
        stamped_ = std::string();
    }
    const std::size_t stamp = timestamps_.length(line);
    if (stamp == 0)
        return cleanDrawn(line, scrollOn);
    const auto drawn = cleanDrawn(line.substr(stamp), scrollOn);
    if (!drawn)
        return std::nullopt;
    emptyFor(stamped_, stamp + drawn->size());
    stamped_.assign(line.substr(0, stamp));
    stamped_.append(*drawn);
    return stamped_;
}

std::optional<std::string_view> LineCleaning::cleanDrawn(std::string_view line, bool scrollOn)
{
    const bool holdsControl = controlsOn_ && holdsControls(line);
    std::string_view shown = line; // where no cleaner has anything to do
    if (holdsControl || line.find('\b') != std::string_view::npos) {
        characters_.read(line, rule_);
        // With terminal controls read, BackSpaces count columns: wide characters take two, a
        // tab those up to its stop.
        if (holdsControl || (controlsOn_ && (!characters_.singleByte() || line.find('\t') != std::string_view::npos)))
            shown = scrollOn ? rebuilder_.rebuildWithControls(characters_) : eraser_.eraseWithControls(characters_);
        else
            shown = scrollOn ? rebuilder_.rebuild(characters_) : eraser_.erase(characters_);
    }
    auto kept = filterPager(shown);
    if (kept && kept->size() < shown.size())
        ++promptsLeftAsText_;
    if (kept && !controlsOn_) {
        const std::size_t erased = prompts_.erasedPromptLength(*kept);
        promptsLeftAsText_ += erased > 0 ? 1 : 0;
        kept = kept->substr(erased);
    }
    if (!controlsOn_ || !kept)
        return kept;
    // A terminal shows no trailing blanks; erasing leaves them.
    kept = kept->substr(0, kept->find_last_not_of(' ') + 1);
    if (prompts_.matches(*kept))
        return std::nullopt;
    return kept;
}

namespace {

bool isControl(char c, bool controlsOn)
{
    return c == '\b' || (controlsOn && (isControlByte(c) || c == c1Lead));
}

// Whether the byte at `i`, in the line that starts at `lineStart`, may make a cleaner act on the
// line: a control byte (or the first byte of a C1 control), the first character of a pager prompt or a timestamp, an eraser line,
// without terminal controls read the first byte of another pager's prompt at the line's start
// (erased by CRs, it may be glued to the next line's text), and with them a trailing blank and
// the first byte of another prompt where only blanks stand before it. A false alarm only sends
// the line to the cleaners.
bool needsAttention(std::string_view text, std::size_t i, std::size_t lineStart, bool controlsOn, const PagerPrompts &prompts,
                    const Timestamps &timestamps)
{
    const char c = text[i];
    if (isControl(c, controlsOn))
        return true;
    if (i == lineStart && (c == pagerPrompt.front() || timestamps.length(text.substr(i)) > 0))
        return true;
    if (!controlsOn)
        return i == lineStart
            && ((text.substr(i).starts_with(promptEraser) && text.substr(i + promptEraser.size()).starts_with("\r\n"))
                || prompts.erasedStarts().find(c) != std::string_view::npos);
    return (c == ' ' && i + 1 < text.size() && text[i + 1] == '\r')
        || (prompts.starts().find(c) != std::string_view::npos && text.find_first_not_of(' ', lineStart) == i);
}

#if TARNWICK_SSE2
// The candidates (a superset of the bytes that need attention) and the LFs of the 64 bytes from
// p, a bit for each byte.
struct Window {
    std::uint64_t found = 0;
    std::uint64_t lfs = 0;
};

// `inIndent` tells whether p begins in the blanks that begin a line, and is set for the next 64.
Window window(const char *p, bool controlsOn, std::string_view promptStarts, std::string_view erasedStarts, const Timestamps &timestamps,
              bool &inIndent)
{
    const auto load = [](const char *from) { return _mm_loadu_si128(reinterpret_cast<const __m128i *>(from)); };
    const auto is = [](__m128i bytes, char c) { return _mm_cmpeq_epi8(bytes, _mm_set1_epi8(c)); };
    const auto bits = [](__m128i mask, unsigned block) { return std::uint64_t(static_cast<unsigned>(_mm_movemask_epi8(mask))) << block; };
    Window w;
    std::uint64_t lineStarts = 0;
    std::uint64_t blanks = 0;
    std::uint64_t promptBytes = 0;
    for (unsigned block = 0; block < 64; block += 16) {
        const __m128i here = load(p + block);
        const __m128i lineStart = is(load(p + block - 1), '\n');
        w.lfs |= bits(is(here, '\n'), block);
        __m128i found = _mm_or_si128(is(here, '\b'), is(here, pagerPrompt.front()));
        lineStarts |= bits(lineStart, block);
        if (!controlsOn) {
            __m128i starts = _mm_and_si128(is(here, promptEraser.front()), is(load(p + block + promptEraser.size()), '\r'));
            for (const char c : erasedStarts)
                starts = _mm_or_si128(starts, is(here, c));
            w.found |= bits(_mm_or_si128(found, _mm_and_si128(lineStart, starts)), block);
            continue;
        }
        // The control bytes as those below 0x20 but for the line end and the tab, and DEL: fewer
        // steps than one comparison for each, and the few others are false alarms.
        const __m128i low = _mm_cmpeq_epi8(_mm_min_epu8(here, _mm_set1_epi8(0x1f)), here);
        const __m128i lineEndOrTab = _mm_or_si128(_mm_or_si128(is(here, '\r'), is(here, '\n')), is(here, '\t'));
        found = _mm_or_si128(found, _mm_or_si128(_mm_andnot_si128(lineEndOrTab, low), _mm_or_si128(is(here, '\x7f'), is(here, c1Lead))));
        const __m128i blank = is(here, ' ');
        found = _mm_or_si128(found, _mm_and_si128(blank, is(load(p + block + 1), '\r')));
        w.found |= bits(found, block);
        __m128i promptByte = _mm_setzero_si128();
        for (const char c : promptStarts)
            promptByte = _mm_or_si128(promptByte, is(here, c));
        blanks |= bits(blank, block);
        promptBytes |= bits(promptByte, block);
    }
    // A line's first byte, one for each line, is looked at alone: the bytes a timestamp may begin
    // with are many (digits, brackets, the user's).
    for (std::uint64_t starts = lineStarts; starts != 0; starts &= starts - 1) {
        if (timestamps.mayStartWith(p[std::countr_zero(starts)]))
            w.found |= starts & -starts;
    }
    if (controlsOn) {
        // The first byte after a line's leading blanks: adding a line start to the run of blanks
        // it begins carries over the run onto that byte.
        const std::uint64_t carriedIn = inIndent ? 1 : 0;
        const std::uint64_t indentStarts = (lineStarts | carriedIn) & blanks;
        std::uint64_t afterIndent = 0;
        inIndent = __builtin_add_overflow(indentStarts, blanks, &afterIndent);
        const std::uint64_t firstText = (afterIndent | lineStarts | carriedIn) & ~blanks;
        w.found |= firstText & promptBytes;
    }
    return w;
}
#endif

} // namespace

// The bytes are looked at one by one only where a line may need attention or a progress step
// ends: lines are short, and a memchr call per line costs more than copying it. So where SSE2 is
// there (every x86-64), 64 bytes are looked at in one step, and only their candidates (see
// Window) one by one.
std::size_t LineCleaning::untouchedPrefix(std::string_view text, std::uint64_t most, std::uint64_t &lines) const
{
    lines = 0;
    if (controlsOn_ && prompts_.mayStartAnywhere())
        return 0;
    const bool controlsOn = controlsOn_;
    std::size_t lineStart = 0;
    const std::size_t size = text.size();
    std::size_t i = 0;
#if TARNWICK_SSE2
    // Counts the LFs of `lfs` (bits from `i` on); true with `end` after the one that reaches `most`.
    const auto countLines = [&](std::uint64_t lfs, std::size_t &end) {
        if (lines + bitCount(lfs) >= most) {
            for (; lfs != 0; lfs &= lfs - 1) {
                if (++lines == most) {
                    end = i + static_cast<std::size_t>(std::countr_zero(lfs)) + 1;
                    return true;
                }
            }
        }
        lines += bitCount(lfs);
        if (lfs != 0)
            lineStart = i + static_cast<std::size_t>(std::bit_width(lfs));
        return false;
    };
    std::optional<bool> inIndent; // known once the 64-byte steps begin
#endif
    while (i < size) {
#if TARNWICK_SSE2
        if (i > 0 && i + 64 + promptEraser.size() < size) {
            if (!inIndent)
                inIndent = text.find_first_not_of(' ', lineStart) >= i;
            auto [found, lfs] = window(text.data() + i, controlsOn, prompts_.starts(), prompts_.erasedStarts(), timestamps_, *inIndent);
            std::size_t end = 0;
            for (; found != 0; found &= found - 1) {
                const auto at = static_cast<unsigned>(std::countr_zero(found));
                const std::uint64_t before = lfs & ((std::uint64_t(1) << at) - 1);
                if (countLines(before, end))
                    return end;
                lfs &= ~before;
                if (needsAttention(text, i + at, lineStart, controlsOn, prompts_, timestamps_))
                    return lineStart;
            }
            if (countLines(lfs, end))
                return end;
            i += 64;
            continue;
        }
#endif
        if (text[i] == '\n') {
            lineStart = i + 1;
            if (++lines == most)
                return lineStart;
        } else if (needsAttention(text, i, lineStart, controlsOn, prompts_, timestamps_)) {
            break;
        }
        ++i;
    }
    // Up to the start of the line that needs attention, or of the line that the text ends in.
    return lineStart;
}

} // namespace tarnwick
