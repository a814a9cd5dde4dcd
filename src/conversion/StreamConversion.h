#pragma once

#include "ConversionRun.h"
#include "LineCleaner.h"
#include "LineEndNormaliser.h"
#include "SourceEncoding.h"

#include <QFileDevice>

#include <string>

namespace tarnwick {

// A conversion in one pass, for pipes and terminals: the source is read as it comes, each line
// is cleaned as soon as its LF has come, and what one read brought is written out before the
// next read. The lines and their cleaning are those of ConversionRun (every CR dropped, lines
// ended by LF, each written with CR LF; see LineEndNormaliser), so the output is the same, without a temporary file;
// it takes memory for the buffers and the longest line only. It leaves nothing behind that a
// signal would have to clean up.
class StreamConversion {
public:
    // In the automatic encoding setting, a source without a byte order mark is read by the rule
    // its first line with a byte above 0x7F shows (see EncodingDetector); lines before it are
    // ASCII, which every rule reads alike.
    // Of the options, those of the text count: controls, pager prompts, encoding and buffer size.
    StreamConversion(CharacterRule rule, bool scrollOn, const RunOptions &options = {});

    // Source and output are open; their names are for the failure reports. Completed or Failed.
    RunOutcome run(QFileDevice &source, const QString &sourceName, QFileDevice &output, const QString &outputName);

private:
    RunOutcome convert(QFileDevice &source, const QString &sourceName, QFileDevice &output, const QString &outputName);
    void begin(const SourceDecoder &decoder);
    void take(std::string_view text);
    void cleanLine(std::string_view line);

    CharacterRule systemRule_;
    RunOptions options_;
    bool ruleKnown_ = false;
    LineCleaning cleaning_;
    bool scrollOn_;
    TextOutput output_;
    LineEndNormaliser normaliser_{false};
    std::string normalised_; // what one read brought, its line ends normalised
    std::string line_;       // the line being gathered
    std::uint64_t lines_ = 0; // the source's lines handled so far
};

} // namespace tarnwick
