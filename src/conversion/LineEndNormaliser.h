#pragma once

#include <string>
#include <string_view>

namespace tarnwick {

// The normalising pass's rule for line ends, for source text that comes in pieces: every LF is
// written as CR LF and every CR is dropped. When carriage returns are kept (terminal controls
// read), a CR that is followed by something other than an LF or the end of the source is a
// carriage return: it is written as carriageReturnSequence, so that the result holds no CR
// outside its CR LF pairs, but where an ESC came before it on its line. There a sequence may be
// open, which a terminal reads on past the carriage return (inside an escape or CSI it acts,
// inside a string it is ignored), and which the stand-in, itself a sequence, would end: the
// CR is written as it is, and the reading of the line, which such a line goes to for its ESC,
// takes it as the terminal does. Only the reading knows the sequence's state: it needs the
// line's characters.
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
    void endCrs(std::string_view piece, const char *&p, std::string &out, std::size_t &lines);
    // Brings escapeInLine_ up to `end` of the piece, from where it was brought last.
    void lookForEscapes(std::string_view piece, std::size_t end);

    bool keepCarriageReturns_;
    bool pendingCr_ = false;
    bool carriageReturnSeen_ = false;
    bool escapeInLine_ = false; // an ESC came on the line, as far as it was looked at
    std::size_t lookedAt_ = 0;  // of the piece
};

} // namespace tarnwick
