#include "StreamConversion.h"

#include "LineEndNormaliser.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace tarnwick {

StreamConversion::StreamConversion(CharacterRule rule, bool scrollOn, const RunOptions &options)
    : systemRule_(rule)
    , options_(options)
    , cleaning_(rule, options.controlsOn, options.pagerPrompts)
    , scrollOn_(scrollOn)
    , output_(options.bufferSize)
{
}

void StreamConversion::cleanLine(std::string_view line)
{
    if (!ruleKnown_ && !isSingleByteText(line)) {
        EncodingDetector detector;
        detector.append(line);
        detector.finish();
        cleaning_ = LineCleaning(detector.rule(systemRule_), options_.controlsOn, options_.pagerPrompts);
        ruleKnown_ = true;
    }
    ++lines_;
    if (const auto kept = cleaning_.clean(line, scrollOn_))
        output_.writeLine(*kept);
}

// The source's start is known: its rule, where the setting or its byte order mark gives one,
// and the mark and encoding of the output.
void StreamConversion::begin(const SourceDecoder &decoder)
{
    const auto rule = decoder.fixedRule(systemRule_);
    cleaning_ = LineCleaning(rule.value_or(systemRule_), options_.controlsOn, options_.pagerPrompts);
    ruleKnown_ = rule.has_value();
    if (const auto encoding = decoder.outputEncoding())
        output_.encodeAsUtf16(*encoding);
    if (!decoder.byteOrderMark().empty())
        output_.write(decoder.byteOrderMark());
}

void StreamConversion::take(std::string_view text)
{
    // Normalised, the text holds a CR only before an LF.
    normalised_.clear();
    normaliser_.append(text, normalised_);
    // Lines that no cleaner changes go out in one piece; while the rule is not known, only those
    // before the first byte above 0x7F, whose line decides it.
    const char *const singleByteEnd = normalised_.data() + (ruleKnown_ ? normalised_.size() : singleBytePrefix(normalised_));
    for (const char *p = normalised_.data(), *end = p + normalised_.size(); p < end;) {
        if (line_.empty()) {
            const std::string_view rest(p, static_cast<std::size_t>((ruleKnown_ ? end : std::max(p, singleByteEnd)) - p));
            std::uint64_t lines = 0;
            const std::size_t untouched = cleaning_.untouchedPrefix(rest, std::numeric_limits<std::uint64_t>::max(), lines);
            output_.write(rest.substr(0, untouched));
            lines_ += lines;
            p += untouched;
            if (p == end)
                break;
        }
        const auto *lf = static_cast<const char *>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
        if (!lf) {
            line_.append(p, static_cast<std::size_t>(end - p));
            break;
        }
        const std::string_view piece(p, static_cast<std::size_t>(lf - 1 - p));
        if (line_.empty()) {
            cleanLine(piece);
        } else {
            line_.append(piece);
            cleanLine(line_);
            line_.clear();
        }
        p = lf + 1;
    }
}

RunOutcome StreamConversion::run(QFileDevice &source, const QString &sourceName, QFileDevice &output, const QString &outputName)
{
    lines_ = 0;
    // A line too long for memory ends this source alone, its memory freed for the next.
    try {
        return convert(source, sourceName, output, outputName);
    } catch (const std::bad_alloc &) {
        line_ = std::string();
        normalised_ = std::string();
        output_.discard();
        RunOutcome outcome = failedOutcome(RunOutcome::Failure::LineTooLong, sourceName);
        outcome.line = lines_ + 1;
        return outcome;
    }
}

RunOutcome StreamConversion::convert(QFileDevice &source, const QString &sourceName, QFileDevice &output, const QString &outputName)
{
    TextInput input(options_.bufferSize);
    input.open(source);
    output_.open(output);
    line_.clear();
    normaliser_ = LineEndNormaliser(options_.controlsOn);
    SourceDecoder decoder(options_.encoding);
    bool begun = false;
    const auto decoded = [&](std::string_view text) {
        if (!begun && decoder.markKnown()) {
            begin(decoder);
            begun = true;
        }
        take(text);
    };
    for (std::string_view data; !output_.failed() && !(data = input.readBlock()).empty();) {
        decoded(decoder.decode(data));
        output_.flush();
    }
    if (input.failed())
        return failedOutcome(RunOutcome::Failure::ReadSource, sourceName, input.errorString());
    decoded(decoder.finish());
    normaliser_.finish();
    if (!line_.empty())
        cleanLine(line_);
    if (!output_.commit())
        return failedOutcome(RunOutcome::Failure::WriteOutput, outputName, output_.errorString());
    return {};
}

} // namespace tarnwick
