#include "Pipeline.h"

#include "Timestamp.h"

#include <QByteArray>

#include <memory>
#include <utility>

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

CharacterRule wholeSourceRule(QIODevice &source, EncodingSetting setting, CharacterRule system, std::size_t bufferSize)
{
    SourceDecoder decoder(setting);
    EncodingDetector detector;
    const std::unique_ptr<char[]> buffer(new char[bufferSize]);
    for (qint64 got; (got = source.read(buffer.get(), qint64(bufferSize))) > 0;)
        detector.append(decoder.decode(std::string_view(buffer.get(), std::size_t(got))));
    detector.append(decoder.finish());
    detector.finish();
    return decoder.fixedRule(system).value_or(detector.rule(system));
}

LineStage::LineStage(std::optional<CharacterRule> rule, CharacterRule system, bool controlsOn, const QStringList &pagerPrompts, Sink &sink,
                     int screenHeight)
    : rule_(rule)
    , system_(system)
    , controlsOn_(controlsOn)
    , pagerPrompts_(pagerPrompts)
    , cleaning_(rule.value_or(system), controlsOn, pagerPrompts)
    , sink_(sink)
    , screen_(screenHeight, rule.value_or(system), *this)
{
    sink_.readBy(rule.value_or(system));
}

std::size_t LineStage::copyUntouched(std::string_view text, std::uint64_t most, std::uint64_t &lines)
{
    const std::size_t untouched = cleaning_.untouchedPrefix(text, most, lines);
    taken_ += lines;
    if (!controlsOn_ || untouched == 0) {
        sink_.write(text.substr(0, untouched));
        return untouched;
    }
    writeLast();
    // The last line waits only for a next line that may move up onto it, or one not come yet.
    if (!nextMayMove(text.substr(untouched))) {
        sink_.write(text.substr(0, untouched));
        return untouched;
    }
    const std::size_t lastLine = untouched < 3 ? 0 : text.rfind('\n', untouched - 3) + 1; // npos + 1 is 0
    sink_.write(text.substr(0, lastLine));
    hold(text.substr(lastLine, untouched - 2 - lastLine), false, true);
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

bool LineStage::nextMayMove(std::string_view text)
{
    const std::size_t end = text.find('\n');
    return end == std::string_view::npos || mayActOnScreen(text.substr(0, end));
}

void LineStage::CleanLine(std::string_view line, bool scrollOn, bool ended)
{
    if (!rule_ && !isSingleByteText(line)) {
        EncodingDetector detector;
        detector.append(line);
        detector.finish();
        rule_ = detector.rule(system_);
        cleaning_ = LineCleaning(*rule_, controlsOn_, pagerPrompts_);
        screen_.setRule(*rule_);
        sink_.readBy(*rule_);
    }
    if (!controlsOn_) {
        cleanAndWrite(line, scrollOn);
        return;
    }
    if (screen_.holds() || mayActOnScreen(line)) {
        // The last line is the row above, where a move up finds it.
        if (std::exchange(holdsLast_, false))
            readOnScreen(last_, lastScrollOn_, taken_ - 1, true, true);
        if (readOnScreen(line, scrollOn, taken_, ended, false))
            return;
    }
    writeLast();
    if (ended)
        hold(line, scrollOn);
    else
        cleanAndWrite(line, scrollOn);
}

void LineStage::cleanAndWrite(std::string_view line, bool scrollOn)
{
    if (const auto kept = cleaning_.clean(line, scrollOn))
        sink_.writeLine(*kept);
}

bool LineStage::readOnScreen(std::string_view line, bool scrollOn, std::uint64_t before, bool ended, bool hold)
{
    const std::size_t stamp = timestampLength(line);
    rowScrollOn_ = scrollOn;
    return screen_.take(line.substr(stamp), line.substr(0, stamp), before, ended, !scrollOn, hold);
}

// A line longer than a row can be is written at once: a copy of it would double its memory.
void LineStage::hold(std::string_view line, bool scrollOn, bool untouched)
{
    if (line.size() > (std::size_t(1) << 20)) {
        cleanAndWrite(line, scrollOn);
        return;
    }
    last_.assign(line);
    holdsLast_ = true;
    lastScrollOn_ = scrollOn;
    lastUntouched_ = untouched;
}

void LineStage::writeLast()
{
    if (!std::exchange(holdsLast_, false))
        return;
    if (lastUntouched_)
        sink_.writeLine(last_);
    else
        cleanAndWrite(last_, lastScrollOn_);
}

void LineStage::writeHeldRows()
{
    writeLast();
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
    writeLast();
    screen_.finish();
}

} // namespace tarnwick
