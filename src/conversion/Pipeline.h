#pragma once

#include "KeptLines.h"
#include "LineCleaner.h"
#include "LineEndNormaliser.h"
#include "QuietAhead.h"
#include "Screen.h"
#include "SourceEncoding.h"
#include "text/CharacterRule.h"
#include "text/TextOutput.h"

#include <QStringList>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tarnwick {

// The stages every conversion is made of, composed by the file run (source to temporary file,
// temporary file to output; see ConversionRun) and by the pipe (source to output in one pass;
// see StreamConversion):
//   SourceText    reads and decodes a source and normalises its line ends;
//   LineStage     splits the text into lines, copies the lines no cleaner changes in one piece
//                 and hands each other line to the cleaner it needs; with terminal controls
//                 read, the lines that move the cursor from row to row are read on a screen
//                 first (see Screen), whose rows are then cleaned as lines;
//   Sink          encodes and writes what comes out.

// Where cleaned text goes. A later stage that works on whole lines stands before the output as
// another Sink.
class Sink {
public:
    // Whole lines as they go out, each ended by CR LF.
    virtual void write(std::string_view lines) = 0;
    // One line, without its line end.
    virtual void writeLine(std::string_view line) = 0;
    // The rule of the text that comes, once it is known (and before, the system's): a stage that
    // compares the user's texts with the lines needs their encoding.
    virtual void readBy(CharacterRule) {}

protected:
    ~Sink() = default;
};

// The sink of an output channel: the source's byte order mark first, and the text encoded back
// into UTF-16 where the source was UTF-16 (the cleaners read it as UTF-8).
class ChannelSink final : public Sink {
public:
    explicit ChannelSink(TextOutput &channel) : channel_(channel) {}

    // What the source's start told: the mark and the encoding to write.
    void begin(std::string_view byteOrderMark, std::optional<QStringConverter::Encoding> utf16);

    void write(std::string_view lines) override { channel_.write(lines); }
    void writeLine(std::string_view line) override { channel_.writeLine(line); }

private:
    TextOutput &channel_;
};

// A source as it is read: its byte order mark and UTF-16 taken off, its line ends normalised (see
// LineEndNormaliser) and, where it is to be judged whole in the automatic setting, its encoding
// watched.
class SourceText {
public:
    SourceText(EncodingSetting setting, bool controlsOn, bool judgedWhole);

    // The normalised text of the next piece read, and the LFs in it. Valid until the next call.
    std::string_view take(std::string_view piece, std::uint64_t &lines);
    // The end of the source: what was still held back.
    std::string_view finish(std::uint64_t &lines);
    // Whether the text read so far ends inside a line (a line that counts, even of CRs alone).
    bool lineOpen() const { return lineOpen_; }

    // True once the start of the source has been read far enough to tell its mark.
    bool markKnown() const { return decoder_.markKnown(); }
    std::string_view byteOrderMark() const { return decoder_.byteOrderMark(); }
    std::optional<QStringConverter::Encoding> utf16() const { return decoder_.outputEncoding(); }
    // The rule the setting or the mark gives, where they give one.
    std::optional<CharacterRule> fixedRule(CharacterRule system) const { return decoder_.fixedRule(system); }
    // Whether a BackSpace, an ESC or a carriage return (a CR before text) came in what was read:
    // a terminal program's plain-text log holds none.
    bool heldErasers() const { return heldErasers_ || normaliser_.carriageReturnSeen(); }
    // The rule of the whole source judged whole, once it has been read to its end (see
    // EncodingDetector).
    CharacterRule wholeRule(CharacterRule system) const;
    // Judged whole in the automatic setting, whether its lines are in two encodings (see
    // EncodingDetector::mixed), once it has been read to its end.
    bool linesMixed() const { return detecting_ && !decoder_.fixedRule(CharacterRule::Utf8) && detector_.mixed(); }

private:
    std::string_view normalised(std::string_view decoded, std::uint64_t &lines);

    SourceDecoder decoder_;
    bool detecting_;
    EncodingDetector detector_;
    LineEndNormaliser normaliser_;
    std::string text_;
    bool lineOpen_ = false;
    bool heldErasers_ = false;
};

// Reads a whole source for its encoding alone: the rule that a file run would find for it, and in
// `mixed` whether its lines are to be read each by its own (see SourceText::linesMixed). For a
// file given to the pipe filter, which is judged whole as the file run judges it.
CharacterRule wholeSourceRule(QIODevice &source, EncodingSetting setting, CharacterRule system, std::size_t bufferSize, bool &mixed);

// The one splitter: normalised text, in pieces cut anywhere, into lines; the lines that no
// cleaner changes go to the sink in one piece, each other line through its cleaner. While the
// rule of the text is not known yet (a pipe in the automatic setting, before its first byte above
// 0x7F), only lines of single bytes are copied, and the first other line decides the rule.
class LineStage : private RowSink {
public:
    // With no rule, the text's first line with a byte above 0x7F decides it, `system` standing for
    // the system's. `screenHeight` is the rows of the screen, with terminal controls read.
    LineStage(std::optional<CharacterRule> rule, CharacterRule system, bool controlsOn, const QStringList &pagerPrompts, Sink &sink,
              int screenHeight = Screen::defaultHeight, const QStringList &timestamps = {});

    // Takes whole lines from the text, at most `most` of them (their number in `lines`), and a line
    // that the text ends inside, which is kept until its LF comes; returns the bytes taken. Asks
    // `scrollOn` for each line it cleans.
    template <typename ScrollOn>
    std::size_t take(std::string_view text, std::uint64_t most, std::uint64_t &lines, ScrollOn scrollOn);
    // The end of the text: a last line without LF is cleaned (and counted in `lines`), and the
    // screen's rows are written.
    void finish(bool scrollOn, std::uint64_t &lines);
    // Writes the lines held back and what the screen holds, so that all that has come is out (see
    // Screen::writeHeld).
    void writeHeldRows();
    // The lines taken so far.
    std::uint64_t taken() const { return taken_; }
    // The pager prompts found left as text before the next line's (see LineCleaning).
    std::uint64_t promptsLeftAsText() const { return promptsCounted_ + cleaning_.promptsLeftAsText(); }
    // From now on each line with a byte above 0x7F is read by the rule its own bytes show (see
    // EncodingDetector::rule), for a text in two encodings; each keeps its bytes.
    void readEachLineByItsRule() { perLine_ = true; }

private:
    // `ended` when an LF ends the line; `quietAfter` when the lines after it are known not to move
    // up onto it (see QuietAhead).
    void CleanLine(std::string_view line, bool scrollOn, bool ended = true, bool quietAfter = false);
    // Whether the screen's height of lines from text[at] on are known not to move.
    bool quietFrom(std::string_view text, std::size_t at);
    void writeRow(std::string_view row) override;
    void keepRow(std::string_view stamp, std::string_view cells, bool final) override;
    void cleanAndWrite(std::string_view line, bool scrollOn);
    // Whether the screen takes the line (see Screen::take).
    bool readOnScreen(std::string_view line, bool scrollOn, std::uint64_t before, bool ended, bool hold);
    // Holds the line back, writing the oldest held when they are the screen's rows above the cursor
    // (see KeptLines). `untouched`: a line that no cleaner changes, written as it is.
    void keep(std::string_view line, bool scrollOn, bool untouched = false);
    void write(KeptLines::Line &line);
    void writeKept();
    // The lines held back read onto the rows they were written on, as a line that needs the
    // screen comes.
    void loadKept();
    // Copies the untouched lines from text[at] on, within text[0, known).
    std::size_t copyUntouched(std::string_view text, std::size_t at, std::size_t known, std::uint64_t most, std::uint64_t &lines);
    void releaseLine();

    // The text's rule and what the cleaning, the screen and the sink read by.
    void useRule(CharacterRule rule);

    std::optional<CharacterRule> rule_;
    bool perLine_ = false;
    std::uint64_t promptsCounted_ = 0; // by the cleaning of another rule before
    CharacterRule system_;
    bool controlsOn_;
    QStringList pagerPrompts_;
    QStringList timestamps_;
    LineCleaning cleaning_;
    Sink &sink_;
    std::string line_; // a line whose LF has not come yet
    std::uint64_t taken_ = 0;
    Screen screen_;
    bool rowScrollOn_ = false; // the scroll setting for the rows the screen writes
    // With terminal controls read and nothing on the screen, the lines on the rows above the
    // cursor: each is written once it scrolls off, as the lines after it did not move.
    KeptLines kept_;
    QuietAhead quiet_;
    std::uint64_t base_ = 0; // the offset in the whole text of the text taken
};

template <typename ScrollOn>
std::size_t LineStage::take(std::string_view text, std::uint64_t most, std::uint64_t &lines, ScrollOn scrollOn)
{
    lines = 0;
    std::size_t at = 0;
    // While the rule is not known, only what lies before the first byte above 0x7F is copied: its
    // line decides the rule.
    const std::size_t singleBytes = rule_ ? text.size() : singleBytePrefix(text);
    while (at < text.size() && lines < most) {
        if (line_.empty() && !screen_.holds()) {
            std::uint64_t copied = 0;
            const std::size_t known = rule_ ? text.size() : std::max(singleBytes, at);
            at += copyUntouched(text, at, known, most - lines, copied);
            lines += copied;
            if (at == text.size() || lines == most)
                break;
        }
        const std::size_t lf = text.find('\n', at);
        if (lf == std::string_view::npos) {
            line_.append(text.substr(at));
            base_ += text.size();
            return text.size();
        }
        const bool quietAfter = quietFrom(text, lf + 1);
        // Normalised text holds a CR only before an LF; the two may come in different pieces.
        const std::string_view piece = text.substr(at, lf == at ? 0 : lf - 1 - at);
        if (lf == at)
            line_.pop_back();
        if (line_.empty() && lf != at) {
            CleanLine(piece, scrollOn(), true, quietAfter);
        } else {
            line_.append(piece);
            CleanLine(line_, scrollOn(), true, quietAfter);
            releaseLine();
        }
        ++lines;
        ++taken_;
        at = lf + 1;
    }
    base_ += at;
    return at;
}

} // namespace tarnwick
