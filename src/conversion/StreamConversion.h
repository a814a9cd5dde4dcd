#pragma once

#include "ConversionRun.h"
#include "text/TextOutput.h"

#include <QFileDevice>

#include <optional>

namespace tarnwick {

// A conversion in one pass, for pipes and terminals: the source is read as it comes, each line
// is cleaned as soon as its LF has come, and what one read brought is written out before the
// next read (with terminal controls read, the rows the screen holds go out when a pipe's read
// finds no more to take, see Screen). The stages and the lines are those of ConversionRun (see
// Pipeline.h), so the output is the same, without a temporary file; it takes memory for the
// buffers, the screen and the longest line only. It leaves nothing behind that a signal would
// have to clean up.
class StreamConversion {
public:
    // Of the options, those of the text count: controls, pager prompts, masking, encoding and
    // buffer size.
    StreamConversion(CharacterRule rule, bool scrollOn, const RunOptions &options = {});

    // Source and output are open; their names are for the failure reports. Completed or Failed.
    // In the automatic encoding setting a file opened by its name is read once for its encoding
    // first, as the file run reads it (see wholeSourceRule); any other source (standard input)
    // without a byte order mark is read by the rule its first line with a byte above 0x7F shows
    // (see EncodingDetector): lines before it are ASCII, which every rule reads alike. A
    // sequential source (a pipe, a followed log) is read as it comes, and what the screen holds
    // goes out whenever a read finds less than a buffer's worth waiting.
    RunOutcome run(QIODevice &source, const QString &sourceName, QFileDevice &output, const QString &outputName);

private:
    RunOutcome convert(QIODevice &source, const QString &sourceName, std::optional<CharacterRule> rule, bool mixed);


    CharacterRule systemRule_;
    RunOptions options_;
    bool scrollOn_;
    TextOutput output_;
    std::uint64_t lines_ = 0; // the source's lines handled so far
};

} // namespace tarnwick
