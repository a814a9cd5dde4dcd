#include "LineEndNormaliser.h"

#include "TerminalLine.h"

#include <cstring>

namespace tarnwick {

void LineEndNormaliser::append(std::string_view piece, std::string &out)
{
    const char *p = piece.data();
    const char *const end = p + piece.size();
    // Without a CR in the piece (the usual case) each line is copied whole.
    if (!pendingCr_ && !std::memchr(p, '\r', piece.size())) {
        for (const char *lf; (lf = static_cast<const char *>(std::memchr(p, '\n', static_cast<std::size_t>(end - p))));) {
            out.append(p, static_cast<std::size_t>(lf - p));
            out.append("\r\n", 2);
            p = lf + 1;
        }
        out.append(p, static_cast<std::size_t>(end - p));
        return;
    }
    while (p < end) {
        const auto *lf = static_cast<const char *>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
        appendLine({p, static_cast<std::size_t>((lf ? lf : end) - p)}, out);
        if (!lf)
            break;
        pendingCr_ = false; // CRs before an LF end the line with it
        out.append("\r\n", 2);
        p = lf + 1;
    }
}

// Text without LF: its CRs dropped, or kept as carriage returns where text follows them.
void LineEndNormaliser::appendLine(std::string_view line, std::string &out)
{
    const char *p = line.data();
    const char *const end = p + line.size();
    while (p < end) {
        const auto *cr = static_cast<const char *>(std::memchr(p, '\r', static_cast<std::size_t>(end - p)));
        const char *const runEnd = cr ? cr : end;
        if (runEnd > p) {
            if (pendingCr_)
                out.append(carriageReturnSequence);
            pendingCr_ = false;
            out.append(p, static_cast<std::size_t>(runEnd - p));
        }
        if (!cr)
            break;
        pendingCr_ = keepCarriageReturns_;
        p = cr + 1;
    }
}

} // namespace tarnwick
