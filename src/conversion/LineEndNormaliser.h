#pragma once

#include <string>
#include <string_view>

namespace tarnwick {

// The normalising pass's rule for line ends, for source text that comes in pieces: every LF is
// written as CR LF and every CR is dropped. When carriage returns are kept (terminal controls
// read), a CR that is followed by something other than an LF or the end of the source is a
// carriage return: it is written as carriageReturnSequence, so that the result holds no CR
// outside its CR LF pairs.
class LineEndNormaliser {
public:
    explicit LineEndNormaliser(bool keepCarriageReturns)
        : keepCarriageReturns_(keepCarriageReturns)
    {
    }

    // Appends the normalised piece; a piece may end anywhere, even between a CR and its LF.
    // Returns the number of LFs in the piece.
    std::size_t append(std::string_view piece, std::string &out);
    // The end of the source: CRs that are still open end the last line.
    void finish() { pendingCr_ = false; }
    // Whether a CR before text (not a line end) came: a carriage return.
    bool carriageReturnSeen() const { return carriageReturnSeen_; }

private:
    void endCrs(const char *&p, std::string &out, std::size_t &lines);

    bool keepCarriageReturns_;
    bool pendingCr_ = false;
    bool carriageReturnSeen_ = false;
};

} // namespace tarnwick
