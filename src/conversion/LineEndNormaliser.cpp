#include "LineEndNormaliser.h"

#include "TerminalLine.h"

#include <cstring>

namespace tarnwick {

std::size_t LineEndNormaliser::append(std::string_view piece, std::string &out)
{
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
