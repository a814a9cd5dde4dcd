#include "LineEndNormaliser.h"

#include "TerminalLine.h"

#include <cstring>

namespace tarnwick {

namespace {

struct LineEnds {
    std::size_t crs = 0;
    std::size_t lfs = 0;
    std::size_t pairs = 0; // CR LF
};

// Counted in fixed chunks of 64 bytes: a loop shape that the compiler turns into vector
// instructions at the build's optimisation level, where std::count is left byte by byte.
LineEnds lineEnds(std::string_view text)
{
    constexpr std::size_t chunk = 64;
    LineEnds ends;
    const char *const p = text.data();
    const std::size_t size = text.size();
    std::size_t i = 0;
    for (; i + chunk < size; i += chunk) {
        unsigned char crs = 0;
        unsigned char lfs = 0;
        unsigned char pairs = 0;
        for (std::size_t j = 0; j < chunk; ++j) {
            crs = static_cast<unsigned char>(crs + (p[i + j] == '\r'));
            lfs = static_cast<unsigned char>(lfs + (p[i + j] == '\n'));
            pairs = static_cast<unsigned char>(pairs + ((p[i + j] == '\r') & (p[i + j + 1] == '\n')));
        }
        ends.crs += crs;
        ends.lfs += lfs;
        ends.pairs += pairs;
    }
    for (; i < size; ++i) {
        ends.crs += p[i] == '\r';
        ends.lfs += p[i] == '\n';
        ends.pairs += p[i] == '\r' && i + 1 < size && p[i + 1] == '\n';
    }
    return ends;
}

} // namespace

std::size_t LineEndNormaliser::append(std::string_view piece, std::string &out)
{
    // A piece already in its normal form goes out whole.
    if (!pendingCr_ && !piece.empty() && piece.back() != '\r') {
        const LineEnds ends = lineEnds(piece);
        if (ends.crs == ends.pairs && ends.lfs == ends.pairs) {
            out.append(piece);
            return ends.pairs;
        }
    }
    std::size_t lines = 0;
    const char *p = piece.data();
    const char *const end = p + piece.size();
    // Text already in its normal form (lines ended by CR LF, no other CR) is copied in long
    // stretches; only a bare LF, a CR that is not part of a CR LF pair and a CR left open at the
    // end of the last piece need attention.
    const char *copied = p;
    const auto copyUpTo = [&](const char *to) {
        out.append(copied, static_cast<std::size_t>(to - copied));
        copied = to;
    };
    if (pendingCr_) {
        while (p < end && *p == '\r')
            ++p;
        if (p == end)
            return lines; // still open
        endCrs(p, out, lines);
        copied = p;
    }
    while (p < end) {
        const auto *cr = static_cast<const char *>(std::memchr(p, '\r', static_cast<std::size_t>(end - p)));
        const char *const stop = cr ? cr : end;
        // Bare LFs before the CR get their CR.
        for (const char *lf; (lf = static_cast<const char *>(std::memchr(p, '\n', static_cast<std::size_t>(stop - p))));) {
            copyUpTo(lf);
            out.push_back('\r');
            p = lf + 1;
            ++lines;
        }
        if (!cr)
            break;
        if (cr + 1 < end && cr[1] == '\n') {
            p = cr + 2;
            ++lines;
            continue;
        }
        // CRs not followed by an LF here: what follows them decides, in the next piece if need be.
        copyUpTo(cr);
        p = cr + 1;
        while (p < end && *p == '\r')
            ++p;
        if (p == end) {
            pendingCr_ = true;
            return lines;
        }
        endCrs(p, out, lines);
        copied = p;
    }
    copyUpTo(end);
    return lines;
}

// A run of CRs followed by `p`: with an LF they end the line, before text they are a carriage
// return or nothing.
void LineEndNormaliser::endCrs(const char *&p, std::string &out, std::size_t &lines)
{
    pendingCr_ = false;
    if (*p == '\n') {
        out.append("\r\n", 2);
        ++p;
        ++lines;
    } else if (keepCarriageReturns_) {
        out.append(carriageReturnSequence);
    }
}

} // namespace tarnwick
