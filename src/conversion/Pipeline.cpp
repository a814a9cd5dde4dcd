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

LineStage::LineStage(std::optional<CharacterRule> rule, CharacterRule system, bool controlsOn, const QStringList &pagerPrompts, Sink &sink)
    : rule_(rule)
    , system_(system)
    , controlsOn_(controlsOn)
    , pagerPrompts_(pagerPrompts)
    , cleaning_(rule.value_or(system), controlsOn, pagerPrompts)
    , sink_(sink)
{
    sink_.readBy(rule.value_or(system));
}

std::size_t LineStage::copyUntouched(std::string_view text, std::uint64_t most, std::uint64_t &lines)
{
    const std::size_t untouched = cleaning_.untouchedPrefix(text, most, lines);
    sink_.write(text.substr(0, untouched));
    taken_ += lines;
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

void LineStage::CleanLine(std::string_view line, bool scrollOn)
{
    if (!rule_ && !isSingleByteText(line)) {
        EncodingDetector detector;
        detector.append(line);
        detector.finish();
        rule_ = detector.rule(system_);
        cleaning_ = LineCleaning(*rule_, controlsOn_, pagerPrompts_);
        sink_.readBy(*rule_);
    }
    if (const auto kept = cleaning_.clean(line, scrollOn))
        sink_.writeLine(*kept);
}

void LineStage::finish(bool scrollOn, std::uint64_t &lines)
{
    lines = 0;
    if (line_.empty())
        return;
    CleanLine(line_, scrollOn);
    releaseLine();
    lines = 1;
    ++taken_;
}

} // namespace tarnwick
