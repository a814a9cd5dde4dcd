#include "LineEndNormaliser.h"

#include "BitCount.h"
#include "Simd.h"
#include "TerminalLine.h"

#include <bit>

namespace tarnwick {

namespace {

constexpr auto npos = std::string_view::npos;

// The first position from `at` on where the text is not in its normal form: a CR that is not
// followed by an LF (a CR at the very end counts), or an LF that does not follow a CR (an LF at
// the very start counts). The LFs before it are added to `lfs`.
//
// This runs over every byte of the source, and lines are short: memchr, a call per line, costs
// more than the copy itself, and the compiler does not turn a byte loop of this shape into vector
// instructions. So where SSE2 is there (every x86-64), 16 bytes are looked at in one step.
std::size_t firstIrregular(std::string_view text, std::size_t at, std::size_t &lfs)
{
    const char *const p = text.data();
    const std::size_t size = text.size();
    const auto irregularAt = [&](std::size_t i) {
        if (p[i] == '\r')
            return i + 1 >= size || p[i + 1] != '\n';
        return p[i] == '\n' && (i == 0 || p[i - 1] != '\r');
    };
    std::size_t i = at;
    if (i == 0 && size > 0) {
        if (irregularAt(0))
            return 0;
        i = 1;
    }
#if TARNWICK_SSE2
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    for (; i + 16 < size; i += 16) {
        const auto load = [](const char *from) { return _mm_loadu_si128(reinterpret_cast<const __m128i *>(from)); };
        const unsigned crs = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(load(p + i), cr)));
        const unsigned lfsHere = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(load(p + i), lf)));
        const unsigned lfsAfter = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(load(p + i + 1), lf)));
        const unsigned crsBefore = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(load(p + i - 1), cr)));
        if (const unsigned irregular = (crs & ~lfsAfter) | (lfsHere & ~crsBefore)) {
            const unsigned first = static_cast<unsigned>(std::countr_zero(irregular));
            lfs += static_cast<std::size_t>(bitCount(lfsHere & ((1u << first) - 1)));
            return i + first;
        }
        lfs += static_cast<std::size_t>(bitCount(lfsHere));
    }
#endif
    for (; i < size; ++i) {
        if (irregularAt(i))
            return i;
        lfs += p[i] == '\n';
    }
    return npos;
}

} // namespace

std::size_t LineEndNormaliser::append(std::string_view piece, std::string &out)
{
    // Text in its normal form (lines ended by CR LF, no other CR) is copied in long stretches;
    // only a bare LF, a CR that is not part of a CR LF pair and CRs left open at the end of the
    // last piece need attention.
    std::size_t lines = 0;
    const char *p = piece.data();
    lookedAt_ = 0;
    if (pendingCr_) {
        while (p < piece.data() + piece.size() && *p == '\r')
            ++p;
        if (p == piece.data() + piece.size())
            return lines; // still open
        endCrs(piece, p, out, lines);
    }
    for (std::size_t at = static_cast<std::size_t>(p - piece.data());;) {
        const std::size_t irregular = firstIrregular(piece, at, lines);
        out.append(piece.substr(at, irregular == npos ? npos : irregular - at));
        if (irregular == npos) {
            lookForEscapes(piece, piece.size());
            return lines;
        }
        if (piece[irregular] == '\n') {
            out.append("\r\n", 2);
            ++lines;
            at = irregular + 1;
            continue;
        }
        // CRs not followed by an LF here: what follows them decides, in the next piece if need be.
        at = irregular + 1;
        while (at < piece.size() && piece[at] == '\r')
            ++at;
        if (at == piece.size()) {
            pendingCr_ = true;
            lookForEscapes(piece, piece.size());
            return lines;
        }
        p = piece.data() + at;
        endCrs(piece, p, out, lines);
        at = static_cast<std::size_t>(p - piece.data());
    }
}

// A run of CRs followed by `p`: with an LF they end the line, before text they are a carriage
// return or nothing.
void LineEndNormaliser::endCrs(std::string_view piece, const char *&p, std::string &out, std::size_t &lines)
{
    pendingCr_ = false;
    if (*p == '\n') {
        out.append("\r\n", 2);
        ++p;
        ++lines;
    } else {
        carriageReturnSeen_ = true;
        if (!keepCarriageReturns_)
            return;
        lookForEscapes(piece, static_cast<std::size_t>(p - piece.data()));
        if (escapeInLine_)
            out.push_back('\r');
        else
            out.append(carriageReturnSequence);
    }
}

// No byte is looked at more than twice: at a piece's end the search goes back to its last LF,
// which is near where lines are short, and from one carriage return of a line to the next.
void LineEndNormaliser::lookForEscapes(std::string_view piece, std::size_t end)
{
    if (!keepCarriageReturns_ || end <= lookedAt_)
        return;
    const std::string_view stretch = piece.substr(lookedAt_, end - lookedAt_);
    const std::size_t lf = stretch.rfind('\n');
    escapeInLine_ = (lf == npos && escapeInLine_) || stretch.find(terminal::escape, lf == npos ? 0 : lf + 1) != npos;
    lookedAt_ = end;
}

} // namespace tarnwick
