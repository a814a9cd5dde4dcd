#include "ConversionRun.h"

#include "platform/Folders.h"

#include "OutputStages.h"
#include "Pipeline.h"
#include "TextLikeness.h"
#include "platform/EndingSignals.h"
#include "platform/Folders.h"
#include "platform/TestPause.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace tarnwick {

namespace {

constexpr std::size_t eventsEveryBytes = 8 << 20;

bool sameFile(const QString &a, const QString &b)
{
    const auto first = fileIdentity(a);
    return first && first == fileIdentity(b);
}

} // namespace

// Digits in groups of three, as both English and Japanese write long numbers.
QString progressText(std::uint64_t done, std::uint64_t total)
{
    const QLocale grouped(QLocale::English, QLocale::UnitedStates);
    return grouped.toString(qulonglong(done)) + u" / "_s + grouped.toString(qulonglong(total));
}

RunOutcome failedOutcome(RunOutcome::Failure failure, const QString &path, const QString &reason, const QString &other)
{
    return {RunOutcome::Status::Failed, failure, QDir::toNativeSeparators(path), reason, QDir::toNativeSeparators(other), {}, 0};
}

ConversionRun::ConversionRun(RunPaths paths, CharacterRule rule, RunHost &host, RunOptions options)
    : paths_(std::move(paths))
    , rule_(rule)
    , host_(host)
    , options_(options)
    , source_(options.bufferSize)
    , output_(options.bufferSize)
{
}

RunOutcome ConversionRun::run()
{
    // A line too long for memory fails this log alone; what the run holds is freed on the way
    // out, so the next log of a batch has the memory again.
    try {
        return runPasses();
    } catch (const std::bad_alloc &) {
        output_.discard();
        temporary_.remove();
        fail(RunOutcome::Failure::LineTooLong, paths_.source);
        failure_.line = line_;
        return failure_;
    }
}

RunOutcome ConversionRun::runPasses()
{
    pauseForTest("start");
    if (!openFiles() || !mayWriteOutput() || !normalise() || (!aborted_ && !clean())) {
        output_.discard();
        temporary_.remove();
        return failure_;
    }
    return finish(aborted_ ? RunOutcome::Status::Aborted : RunOutcome::Status::Completed);
}

// Both files are opened before anything is read, and what the run checks is the files it opened:
// the output's target is found once, links and all (see ReplacementFile).
bool ConversionRun::openFiles()
{
    for (const QString &temporary : {paths_.temporary, paths_.temporaryFallback}) {
        if (!temporary.isEmpty() && (sameFile(paths_.source, temporary) || sameFile(paths_.output, temporary)))
            return fail(RunOutcome::Failure::SourceIsTemporary, temporary);
    }
    if (!source_.open(paths_.source))
        return fail(RunOutcome::Failure::OpenSource, paths_.source, source_.errorString());
    sourceState_ = fileState(source_.device());
    if (sourceState_ && sourceState_->kind == FileState::Kind::Device)
        return fail(RunOutcome::Failure::SourceNotAFile, paths_.source);
    // In an output folder, the output's place below it is made as the tree of logs has it.
    if (options_.naming && !options_.naming->folder.isEmpty()) {
        if (const QString error = madeFolder(QFileInfo(paths_.output).absolutePath()); !error.isEmpty())
            return fail(RunOutcome::Failure::WriteOutput, paths_.output, error);
    }
    if (!output_.open(paths_.output)) {
        switch (output_.refusal()) {
        case ReplacementFile::Refusal::ReadOnly: return fail(RunOutcome::Failure::OutputReadOnly, paths_.output);
        case ReplacementFile::Refusal::UntrustedLink: return fail(RunOutcome::Failure::UntrustedLink, paths_.output);
        case ReplacementFile::Refusal::Changed: return fail(RunOutcome::Failure::OutputChanged, paths_.output);
        case ReplacementFile::Refusal::None: break;
        }
        return fail(RunOutcome::Failure::WriteOutput, paths_.output, output_.errorString());
    }
    outputIsSource_ = sourceState_ && output_.replaced() == sourceState_->identity;
    return true;
}

// What the run must not replace, told before anything is read.
bool ConversionRun::mayWriteOutput()
{
    if (outputIsSource_ && !options_.replacesSource)
        return fail(RunOutcome::Failure::OutputIsSource, paths_.source, {}, paths_.output);
    // Overwriting, the output is the log that was opened, or the log has been replaced.
    if (options_.replacesSource && !outputIsSource_)
        return fail(RunOutcome::Failure::SourceChanged, paths_.source);
    if (options_.batch) {
        if (const auto other = options_.batch->writtenForAnother(paths_.output, paths_.source))
            return fail(RunOutcome::Failure::OutputOfAnother, paths_.source, {}, *other);
    }
    // An output this batch wrote for the same log is its own, whatever other logs are named.
    if (options_.naming && !outputIsSource_ && output_.replaced() && !(options_.batch && options_.batch->writtenFor(paths_.output, paths_.source))) {
        BatchOutputs alone;
        BatchOutputs &known = options_.batch ? *options_.batch : alone;
        if (const auto other = known.otherLogNamedAlike(paths_.output, paths_.source, *options_.naming))
            return fail(RunOutcome::Failure::NameOfAnother, paths_.source, {}, *other);
    }
    return true;
}

// Whether the source is as it was when it was opened: a log that a terminal program still
// writes to grows while it is read, and what it gains after the read would be lost with it.
bool ConversionRun::sourceKept()
{
    if (!sourceState_ || sourceState_->kind != FileState::Kind::Regular)
        return true;
    const auto now = fileState(source_.device());
    const auto named = fileState(paths_.source);
    return now == sourceState_ && named && named->identity == sourceState_->identity;
}

RunOutcome ConversionRun::finish(RunOutcome::Status status)
{
    output_.discard(); // an output not committed (an abort) stays as it was

    if (!temporary_.remove()) {
        fail(RunOutcome::Failure::DeleteTemporary, temporary_.path(), temporary_.errorString());
        return failure_;
    }
    RunOutcome outcome{status, RunOutcome::Failure::None, {}, {}, {}, {}, 0};
    if (written_) {
        outcome.output = QDir::toNativeSeparators(paths_.output);
        outcome.lines = cleaned_;
        outcome.sourceGrew = sourceGrew_;
        outcome.notText = notText_;
        outcome.erasersLost = erasersLost_;
        outcome.secretsMasked = secretsMasked_;
    }
    return outcome;
}

bool ConversionRun::fail(RunOutcome::Failure failure, const QString &path, const QString &reason, const QString &other)
{
    failure_ = failedOutcome(failure, path, reason, other);
    return false;
}

void ConversionRun::showProgress(std::uint64_t done)
{
    host_.showProgress(progressText(done, total_));
}

void ConversionRun::progressStep(std::uint64_t &done)
{
    block_ = 0;
    done += 100;
    showProgress(cleaning_ ? done : 0);
    letEventsRun();
}

void ConversionRun::letEventsRun()
{
    readSinceEvents_ = 0;
    host_.processEvents();
    noteEndingSignal();
}

// A program that is asked to end leaves nothing of the run behind.
void ConversionRun::noteEndingSignal()
{
    if (endingSignal() != 0)
        interrupt();
}

bool ConversionRun::normalise()
{
    if (!temporary_.create(paths_.temporary)
        && (paths_.temporaryFallback.isEmpty() || !temporary_.create(paths_.temporaryFallback))) {
        const QString &tried = paths_.temporaryFallback.isEmpty() ? paths_.temporary : paths_.temporaryFallback;
        return fail(RunOutcome::Failure::CreateTemporary, tried, temporary_.errorString());
    }
    TextOutput temporary(options_.bufferSize);
    temporary.open(temporary_.file());

    total_ = 0;
    block_ = 0;
    showProgress(0);
    pauseForTest("normalising");
    SourceText text(options_.encoding, options_.controlsOn, true);
    const auto take = [&](std::string_view normalised, std::uint64_t lines) {
        temporary.write(normalised);
        // The progress steps that the piece's lines reach; an abort at one of them leaves the
        // count there.
        while (block_ + lines >= 100 && !aborted_) {
            lines -= 100 - block_;
            progressStep(total_);
        }
        if (!aborted_)
            block_ += lines;
    };
    std::uint64_t lines = 0;
    const std::int64_t size = sourceState_ && sourceState_->kind == FileState::Kind::Regular ? sourceState_->size : 0;
    std::int64_t read = 0;
    int shareRead = -1;
    bool textChecked = false;
    for (std::string_view data; !aborted_ && !temporary.failed() && !(data = source_.readBlock()).empty();) {
        read += std::int64_t(data.size());
        if (const int share = size > 0 ? int(std::min<std::int64_t>(100, read * 100 / size)) : -1; share > shareRead) {
            shareRead = share;
            host_.showShareRead(share);
        }
        // A source without line ends reaches no progress step; events still run now and then.
        readSinceEvents_ += data.size();
        if (readSinceEvents_ >= eventsEveryBytes) {
            letEventsRun();
            if (aborted_)
                break;
        }
        const std::string_view normalised = text.take(data, lines);
        // Asked once, at the first block whose encoding is known: UTF-16's bytes are no text.
        if (!textChecked && text.markKnown()) {
            textChecked = true;
            notText_ = !text.utf16() && !looksLikeText(data);
            if (notText_ && !host_.convertNonText()) {
                aborted_ = true;
                break;
            }
        }
        take(normalised, lines);
    }
    if (!aborted_) {
        const std::string_view rest = text.finish(lines);
        take(rest, lines);
    }
    if (text.lineOpen() && !aborted_)
        lineDone(total_);
    total_ += block_;
    showProgress(0);
    // The cleaning pass reads the text by the rule the setting, the byte order mark or the
    // whole source gives.
    rule_ = text.wholeRule(rule_);
    byteOrderMark_ = text.byteOrderMark();
    outputEncoding_ = text.utf16();
    sourceHeldErasers_ = text.heldErasers();
    linesMixed_ = text.linesMixed();

    if (source_.failed())
        return fail(RunOutcome::Failure::ReadSource, paths_.source, source_.errorString());
    if (!temporary.commit())
        return fail(RunOutcome::Failure::WriteTemporary, temporary_.path(), temporary.errorString());
    return true;
}

bool ConversionRun::clean()
{
    if (!temporary_.file().seek(0))
        return fail(RunOutcome::Failure::ReadTemporary, temporary_.path(), temporary_.file().errorString());
    TextInput input(options_.bufferSize);
    input.open(temporary_.file());
    TextOutput &output = output_;
    // Masking stands in this pass alone, the one that writes the output: the normalising pass
    // copies the lines before they are cleaned, and a secret reads as it does only once they
    // are. So the numbers and the count are those of the one output written.
    OutputStages sinks(output, options_);
    sinks.channel().begin(byteOrderMark_, outputEncoding_);
    cleaning_ = true;
    block_ = 0;
    std::uint64_t done = 0;
    host_.showShareRead(std::nullopt);
    showProgress(done);
    pauseForTest("cleaning");
    LineStage stage(rule_, rule_, options_.controlsOn, options_.pagerPrompts, sinks.first(), options_.screenHeight, options_.timestamps);
    if (linesMixed_)
        stage.readEachLineByItsRule();
    const auto scrollOn = [this] { return host_.scrollOn(); };
    try {
        // Up to the next progress step at a time.
        while (!aborted_ && !output.failed() && !input.atEnd()) {
            std::uint64_t lines = 0;
            input.consume(stage.take(input.buffered(), 100 - block_, lines, scrollOn));
            block_ += lines;
            if (block_ == 100)
                progressStep(done);
        }
        std::uint64_t last = 0;
        if (!aborted_ && !input.failed())
            stage.finish(host_.scrollOn(), last);
        else if (aborted_)
            stage.writeHeldRows(); // the lines cleaned so far are kept
        if (last)
            lineDone(done);
    } catch (const std::bad_alloc &) {
        line_ = stage.taken() + 1;
        throw;
    }
    done += block_;
    showProgress(done);
    erasersLost_ = !sourceHeldErasers_ && stage.promptsLeftAsText() > 0;

    if (input.failed()) {
        output.discard();
        return fail(RunOutcome::Failure::ReadTemporary, temporary_.path(), input.errorString());
    }
    noteEndingSignal();
    if (aborted_ && (outputIsSource_ || interrupted_)) {
        output.discard();
        return true;
    }
    const bool kept = sourceKept();
    // Windows replaces no file that is open, and the source may be the output.
    source_.close();
    if (outputIsSource_ && !kept) {
        output.discard();
        return fail(RunOutcome::Failure::SourceChanged, paths_.source);
    }
    if (!output.commit()) {
        return output.refusal() == ReplacementFile::Refusal::Changed ? fail(RunOutcome::Failure::OutputChanged, paths_.output)
                                                                     : fail(RunOutcome::Failure::WriteOutput, paths_.output, output.errorString());
    }
    sourceGrew_ = !kept;
    if (options_.batch)
        options_.batch->record(paths_.output, paths_.source);
    written_ = true;
    cleaned_ = done;
    secretsMasked_ = sinks.secretsMasked();
    return true;
}

} // namespace tarnwick
