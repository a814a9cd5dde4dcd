#include "Pipeline.h"

#include <QByteArray>

#include <memory>

namespace tarnwick {

void ChannelSink::begin(std::string_view byteOrderMark, std::optional<QStringConverter::Encoding> utf16)
{
    if (utf16)
        channel_.encodeAsUtf16(*utf16);
    if (!byteOrderMark.empty())
        channel_.write(byteOrderMark);
}

SourceText::SourceText(EncodingSetting setting, bool controlsOn, bool judgedWhole)
    : decoder_(setting)
    , detecting_(judgedWhole && setting == EncodingSetting::Auto)
    , normaliser_(controlsOn)
{
}

std::string_view SourceText::normalised(std::string_view decoded, std::uint64_t &lines)
{
    if (!decoded.empty())
        lineOpen_ = decoded.back() != '\n';
    heldErasers_ = heldErasers_ || decoded.find('\b') != std::string_view::npos || decoded.find('\x1b') != std::string_view::npos;
    if (detecting_)
        detector_.append(decoded);
    text_.clear();
    lines = normaliser_.append(decoded, text_);
    return text_;
}

std::string_view SourceText::take(std::string_view piece, std::uint64_t &lines)
{
    return normalised(decoder_.decode(piece), lines);
}

std::string_view SourceText::finish(std::uint64_t &lines)
{
    const std::string_view rest = normalised(decoder_.finish(), lines);
    normaliser_.finish();
    detector_.finish();
    return rest;
}

CharacterRule SourceText::wholeRule(CharacterRule system) const
{
    return decoder_.fixedRule(system).value_or(detector_.rule(system));
}

CharacterRule wholeSourceRule(QIODevice &source, EncodingSetting setting, CharacterRule system, std::size_t bufferSize, bool &mixed)
{
    SourceDecoder decoder(setting);
    EncodingDetector detector;
    const std::unique_ptr<char[]> buffer(new char[bufferSize]);
    for (qint64 got; (got = source.read(buffer.get(), qint64(bufferSize))) > 0;)
        detector.append(decoder.decode(std::string_view(buffer.get(), std::size_t(got))));
    detector.append(decoder.finish());
    detector.finish();
    mixed = !decoder.fixedRule(system) && detector.mixed();
    return decoder.fixedRule(system).value_or(detector.rule(system));
}

LineStage::LineStage(std::optional<CharacterRule> rule, CharacterRule system, bool controlsOn, const QStringList &pagerPrompts, Sink &sink,
                     int screenHeight, const QStringList &timestamps)
    : rule_(rule)
    , system_(system)
    , controlsOn_(controlsOn)
    , pagerPrompts_(pagerPrompts)
    , timestamps_(timestamps)
    , cleaning_(rule.value_or(system), controlsOn, pagerPrompts, timestamps)
    , sink_(sink)
    , screen_(screenHeight, rule.value_or(system), *this)
    , kept_(controlsOn ? static_cast<std::size_t>(screen_.height() - 1) : 0)
    , quiet_(kept_.most())
{
    sink_.readBy(rule.value_or(system));
}

std::size_t LineStage::copyUntouched(std::string_view whole, std::size_t at, std::size_t known, std::uint64_t most, std::uint64_t &lines)
{
    const std::string_view text = whole.substr(at, known - at);
    const std::size_t untouched = cleaning_.untouchedPrefix(text, most, lines);
    taken_ += lines;
    if (!controlsOn_ || untouched == 0) {
        sink_.write(text.substr(0, untouched));
        return untouched;
    }
    if (quietFrom(whole, at + untouched)) {
        writeKept();
        sink_.write(text.substr(0, untouched));
        return untouched;
    }
    // The lines before the last of a screen's height are final, and so are those held before them.
    if (lines >= kept_.most())
        writeKept();
    std::size_t keptFrom = untouched;
    for (std::uint64_t back = std::min<std::uint64_t>(lines, kept_.most()); back > 0; --back)
        keptFrom = keptFrom < 3 ? 0 : text.rfind('\n', keptFrom - 3) + 1; // npos + 1 is 0
    sink_.write(text.substr(0, keptFrom));
    // Each line ends with CR LF.
    for (std::size_t lf; keptFrom < untouched; keptFrom = lf + 1) {
        lf = text.find('\n', keptFrom);
        keep(text.substr(keptFrom, lf - 1 - keptFrom), false, true);
    }
    return untouched;
}

// A line of more than a megabyte leaves no buffer of its size behind for the lines after it.
void LineStage::releaseLine()
{
    if (line_.capacity() > (std::size_t(1) << 20))
        line_ = std::string();
    else
        line_.clear();
}

bool LineStage::quietFrom(std::string_view text, std::size_t at)
{
    return controlsOn_ && quiet_.quiet(text, base_, at);
}

void LineStage::CleanLine(std::string_view line, bool scrollOn, bool ended, bool quietAfter)
{
    if ((!rule_ || perLine_) && !isSingleByteText(line)) {
        EncodingDetector detector;
        detector.append(line);
        detector.finish();
        if (const CharacterRule rule = detector.rule(system_); rule != rule_)
            useRule(rule);
    }
    if (!controlsOn_) {
        cleanAndWrite(line, scrollOn);
        return;
    }
    if (screen_.holds() || mayActOnScreen(line)) {
        // The lines held back are the rows above, where a move up finds them.
        loadKept();
        if (readOnScreen(line, scrollOn, taken_, ended, false))
            return;
    }
    if (ended && !quietAfter) {
        keep(line, scrollOn);
    } else {
        writeKept();
        cleanAndWrite(line, scrollOn);
    }
}

void LineStage::useRule(CharacterRule rule)
{
    rule_ = rule;
    promptsCounted_ += cleaning_.promptsLeftAsText();
    cleaning_ = LineCleaning(rule, controlsOn_, pagerPrompts_, timestamps_);
    screen_.setRule(rule);
    sink_.readBy(rule);
}

void LineStage::cleanAndWrite(std::string_view line, bool scrollOn)
{
    if (const auto kept = cleaning_.clean(line, scrollOn))
        sink_.writeLine(*kept);
}

bool LineStage::readOnScreen(std::string_view line, bool scrollOn, std::uint64_t before, bool ended, bool hold)
{
    const std::size_t stamp = cleaning_.timestamps().length(line);
    rowScrollOn_ = scrollOn;
    return screen_.take(line.substr(stamp), line.substr(0, stamp), before, ended, !scrollOn, hold);
}

// A line longer than a row can be is written at once: a copy of it would double its memory.
void LineStage::keep(std::string_view line, bool scrollOn, bool untouched)
{
    if (kept_.most() == 0 || line.size() > (std::size_t(1) << 20)) {
        writeKept();
        if (untouched)
            sink_.writeLine(line);
        else
            cleanAndWrite(line, scrollOn);
        return;
    }
    if (kept_.full()) {
        write(kept_[0]);
        kept_.dropOldest();
    }
    KeptLines::Line &kept = kept_.push();
    kept.text.assign(line);
    kept.scrollOn = scrollOn;
    kept.untouched = untouched;
}

void LineStage::keepRow(std::string_view stamp, std::string_view cells, bool final)
{
    KeptLines::Line &kept = kept_.push();
    kept.text.assign(stamp);
    kept.text.append(cells);
    kept.stamp = stamp.size();
    kept.row = true;
    kept.scrollOn = rowScrollOn_;
    kept.final = final;
}

void LineStage::write(KeptLines::Line &line)
{
    if (line.final)
        return;
    if (line.untouched)
        sink_.writeLine(line.text);
    else
        cleanAndWrite(line.text, line.scrollOn);
}

void LineStage::writeKept()
{
    for (std::size_t index = 0; index < kept_.size(); ++index)
        write(kept_[index]);
    kept_.clear();
}

void LineStage::loadKept()
{
    if (screen_.holds())
        return;
    const std::size_t count = kept_.size();
    for (std::size_t index = 0; index < count; ++index) {
        KeptLines::Line &line = kept_[index];
        const std::uint64_t before = taken_ - count + index;
        if (line.row) {
            rowScrollOn_ = line.scrollOn;
            const std::string_view text = line.text;
            screen_.take(text.substr(line.stamp), text.substr(0, line.stamp), before, true, !line.scrollOn, true, line.final);
        } else {
            readOnScreen(line.text, line.scrollOn, before, true, true);
        }
    }
    kept_.clear();
}

void LineStage::writeHeldRows()
{
    writeKept();
    screen_.writeHeld();
}

// A row is cleaned as a line: its pager prompts dropped, its timestamp kept.
void LineStage::writeRow(std::string_view row)
{
    cleanAndWrite(row, rowScrollOn_);
}

void LineStage::finish(bool scrollOn, std::uint64_t &lines)
{
    lines = 0;
    if (!line_.empty()) {
        CleanLine(line_, scrollOn, false);
        releaseLine();
        lines = 1;
        ++taken_;
    }
    writeKept();
    screen_.finish();
}

} // namespace tarnwick
