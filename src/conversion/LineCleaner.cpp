#include "LineCleaner.h"

#include "BitCount.h"
#include "PagerFilter.h"
#include "Simd.h"
#include "Timestamp.h"

#include <algorithm>
#include <bit>

namespace tarnwick {

LineCleaning::LineCleaning(CharacterRule rule, bool controlsOn, const QStringList &userPrompts)
    : eraser_(rule)
    , rebuilder_(rule)
    , controlsOn_(controlsOn)
    , prompts_(rule, userPrompts)
{
}

std::optional<std::string_view> LineCleaning::clean(std::string_view line, bool scrollOn)
{
    const std::size_t stamp = timestampLength(line);
    if (stamp == 0)
        return cleanDrawn(line, scrollOn);
    const auto drawn = cleanDrawn(line.substr(stamp), scrollOn);
    if (!drawn)
        return std::nullopt;
    stamped_.assign(line.substr(0, stamp));
    stamped_.append(*drawn);
    return stamped_;
}

std::optional<std::string_view> LineCleaning::cleanDrawn(std::string_view line, bool scrollOn)
{
    // With terminal controls read, BackSpaces count columns: wide characters take two.
    const bool asOnTerminal = controlsOn_ && (holdsControls(line) || (!isSingleByteText(line) && line.find('\b') != std::string_view::npos));
    std::string_view shown;
    if (asOnTerminal)
        shown = scrollOn ? rebuilder_.rebuildWithControls(line) : eraser_.eraseWithControls(line);
    else
        shown = scrollOn ? rebuilder_.rebuild(line) : eraser_.erase(line);
    auto kept = filterPager(shown);
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
    return c == '\b' || (controlsOn && isControlByte(c));
}

// Whether the line that starts at `lineStart` may begin with a pager prompt, after blanks.
bool mayBeginWithPrompt(std::string_view text, std::size_t lineStart, const PagerPrompts &prompts)
{
    const std::size_t first = text.find_first_not_of(' ', lineStart);
    return first != std::string_view::npos && prompts.mayStartWith(text[first]);
}

// Whether the byte at `i`, in the line that starts at `lineStart`, may make a cleaner act on the
// line: a control byte, the first character of a pager prompt or of a timestamp, an eraser line,
// and with terminal controls read also a trailing blank and the start of a line that may begin
// with another prompt. A false alarm only sends the line to the cleaners.
bool needsAttention(std::string_view text, std::size_t i, std::size_t lineStart, bool controlsOn, const PagerPrompts &prompts)
{
    const char c = text[i];
    if (isControl(c, controlsOn))
        return true;
    if (i == lineStart && (c == '<' || c == '['))
        return true;
    if (!controlsOn)
        return i == lineStart && text.substr(i).starts_with(promptEraser) && text.substr(i + promptEraser.size()).starts_with("\r\n");
    return (c == ' ' && i + 1 < text.size() && text[i + 1] == '\r') || (i == lineStart && mayBeginWithPrompt(text, i, prompts));
}

#if TARNWICK_SSE2
// A mask of the 16 bytes from p that may need attention (a superset of needsAttention).
unsigned candidates(const char *p, bool controlsOn)
{
    const auto load = [](const char *from) { return _mm_loadu_si128(reinterpret_cast<const __m128i *>(from)); };
    const auto is = [](__m128i bytes, char c) { return _mm_cmpeq_epi8(bytes, _mm_set1_epi8(c)); };
    const __m128i here = load(p);
    const __m128i before = load(p - 1);
    const __m128i lineStart = is(before, '\n');
    __m128i found = _mm_or_si128(_mm_or_si128(is(here, '\b'), is(here, '<')), _mm_and_si128(lineStart, is(here, '[')));
    if (!controlsOn) {
        const __m128i eraserStart = _mm_and_si128(_mm_and_si128(lineStart, is(here, ' ')), is(load(p + promptEraser.size()), '\r'));
        return static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(found, eraserStart)));
    }
    // The control bytes as those below 0x20 but for the line end and the tab, and DEL: fewer
    // steps than one comparison for each, and the few others are false alarms.
    const __m128i low = _mm_cmpeq_epi8(_mm_min_epu8(here, _mm_set1_epi8(0x1f)), here);
    const __m128i lineEndOrTab = _mm_or_si128(_mm_or_si128(is(here, '\r'), is(here, '\n')), is(here, '\t'));
    found = _mm_or_si128(found, _mm_or_si128(_mm_andnot_si128(lineEndOrTab, low), is(here, '\x7f')));
    found = _mm_or_si128(found, _mm_and_si128(is(here, ' '), is(load(p + 1), '\r')));
    // Every line start: whether the line may begin with a prompt is looked at there.
    return static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(found, lineStart)));
}
#endif

} // namespace

// The bytes are looked at one by one only where a line may need attention or a progress step
// ends: lines are short, and a memchr call per line costs more than copying it. So where SSE2 is
// there (every x86-64), 16 bytes without either are passed over in one step.
std::size_t LineCleaning::untouchedPrefix(std::string_view text, std::uint64_t most, std::uint64_t &lines) const
{
    lines = 0;
    if (controlsOn_ && prompts_.mayStartAnywhere())
        return 0;
    const bool controlsOn = controlsOn_;
    std::size_t lineStart = 0;
    const std::size_t size = text.size();
    std::size_t i = 0;
    while (i < size) {
#if TARNWICK_SSE2
        if (i > 0 && i + 16 + promptEraser.size() < size) {
            const char *const p = text.data() + i;
            unsigned lfs = static_cast<unsigned>(_mm_movemask_epi8(
                _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i *>(p)), _mm_set1_epi8('\n'))));
            const unsigned found = candidates(p, controlsOn);
            // The LFs before the first candidate, one by one only where a progress step may end.
            const unsigned stop = found ? static_cast<unsigned>(std::countr_zero(found)) : 16;
            lfs &= stop == 16 ? 0xFFFFu : (1u << stop) - 1;
            if (lines + static_cast<std::uint64_t>(bitsIn16(lfs)) >= most) {
                for (; lfs != 0; lfs &= lfs - 1) {
                    if (++lines == most)
                        return i + static_cast<std::size_t>(std::countr_zero(lfs)) + 1;
                }
            }
            lines += static_cast<std::uint64_t>(bitsIn16(lfs));
            if (lfs != 0)
                lineStart = i + static_cast<std::size_t>(std::bit_width(lfs));
            i += stop;
            if (stop == 16)
                continue;
            if (needsAttention(text, i, lineStart, controlsOn, prompts_))
                break;
            ++i;
            continue;
        }
#endif
        if (text[i] == '\n') {
            lineStart = i + 1;
            if (++lines == most)
                return lineStart;
        } else if (needsAttention(text, i, lineStart, controlsOn, prompts_)) {
            break;
        }
        ++i;
    }
    // Up to the start of the line that needs attention, or of the line that the text ends in.
    if (i == size || lineStart > 0 || lines > 0)
        return lineStart;
    return 0;
}

LineCleaner::LineCleaner(TextInput &channel1, TextOutput &channel2, CharacterRule rule, bool controlsOn, const QStringList &userPrompts)
    : channel1_(channel1)
    , channel2_(channel2)
    , cleaning_(rule, controlsOn, userPrompts)
{
}

void LineCleaner::CleanLine(bool scrollOn)
{
    write(cleaning_.clean(channel1_.readLine(), scrollOn));
}

void LineCleaner::write(std::optional<std::string_view> line)
{
    if (line)
        channel2_.writeLine(*line);
}

} // namespace tarnwick
