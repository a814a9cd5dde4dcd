#include "StreamConversion.h"

#include "OutputStages.h"
#include "Pipeline.h"

#include <limits>

namespace tarnwick {

StreamConversion::StreamConversion(CharacterRule rule, bool scrollOn, const RunOptions &options)
    : systemRule_(rule)
    , options_(options)
    , scrollOn_(scrollOn)
    , output_(options.bufferSize)
{
}

RunOutcome StreamConversion::run(QIODevice &source, const QString &sourceName, QFileDevice &output, const QString &outputName)
{
    std::optional<CharacterRule> rule;
    bool mixed = false;
    lines_ = 0;
    output_.open(output);
    // A file named to be read is judged whole, as the file run judges it; standard input as it
    // comes, whatever stands behind it.
    const auto *file = qobject_cast<QFileDevice *>(&source);
    if (!rule && options_.encoding == EncodingSetting::Auto && file && !file->fileName().isEmpty() && !source.isSequential()) {
        rule = wholeSourceRule(source, options_.encoding, systemRule_, options_.bufferSize, mixed);
        if (!source.seek(0))
            return failedOutcome(RunOutcome::Failure::ReadSource, sourceName, source.errorString());
    }
    // A line too long for memory ends this source alone, its memory freed for the next.
    RunOutcome outcome;
    try {
        outcome = convert(source, sourceName, rule, mixed);
        if (outcome.status == RunOutcome::Status::Failed)
            return outcome;
    } catch (const std::bad_alloc &) {
        output_.discard();
        RunOutcome tooLong = failedOutcome(RunOutcome::Failure::LineTooLong, sourceName);
        tooLong.line = lines_ + 1;
        return tooLong;
    }
    if (!output_.commit())
        return failedOutcome(RunOutcome::Failure::WriteOutput, outputName, output_.errorString());
    return outcome;
}

RunOutcome StreamConversion::convert(QIODevice &source, const QString &sourceName, std::optional<CharacterRule> rule, bool mixed)
{
    TextInput input(options_.bufferSize);
    input.open(source);
    // Each log numbers its secrets anew, as each output file of the file run does.
    OutputStages sinks(output_, options_);
    // Judged whole beforehand, or as it comes (see LineStage).
    SourceText text(options_.encoding, options_.controlsOn, false);
    std::optional<LineStage> stage;
    constexpr std::uint64_t unbounded = std::numeric_limits<std::uint64_t>::max();
    const auto scrollOn = [this] { return scrollOn_; };
    // The text goes on once the source's start has told its mark and, with it, its encoding.
    const auto pass = [&](std::string_view normalised) {
        if (!stage && text.markKnown()) {
            sinks.channel().begin(text.byteOrderMark(), text.utf16());
            stage.emplace(rule ? rule : text.fixedRule(systemRule_), systemRule_, options_.controlsOn, options_.pagerPrompts, sinks.first(),
                          options_.screenHeight, options_.timestamps);
            if (mixed)
                stage->readEachLineByItsRule();
        }
        std::uint64_t lines = 0;
        try {
            for (std::size_t at = 0; stage && at < normalised.size();)
                at += stage->take(normalised.substr(at), unbounded, lines, scrollOn);
        } catch (const std::bad_alloc &) {
            lines_ = stage->taken();
            throw;
        }
    };
    std::uint64_t lines = 0;
    for (std::string_view data; !output_.failed() && !(data = input.readBlock()).empty();) {
        pass(text.take(data, lines));
        // A read that did not fill the buffer took what had come: where more is still to come,
        // what the screen holds goes out now, so that a live view does not wait for it.
        if (stage && source.isSequential() && data.size() < options_.bufferSize)
            stage->writeHeldRows();
        output_.flush();
    }
    if (input.failed())
        return failedOutcome(RunOutcome::Failure::ReadSource, sourceName, input.errorString());
    pass(text.finish(lines));
    if (stage)
        stage->finish(scrollOn_, lines);
    RunOutcome outcome;
    outcome.secretsMasked = sinks.secretsMasked();
    outcome.erasersLost = stage && !text.heldErasers() && stage->promptsLeftAsText() > 0;
    return outcome;
}

} // namespace tarnwick
