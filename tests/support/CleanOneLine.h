#pragma once

#include "TestSupport.h"
#include "conversion/LineEndNormaliser.h"
#include "conversion/Pipeline.h"

// What comes out of the pipeline's line stage, kept.
struct CollectedOutput final : tarnwick::Sink {
    QByteArray bytes;
    void write(std::string_view lines) override { bytes.append(lines.data(), qsizetype(lines.size())); }
    void writeLine(std::string_view line) override
    {
        bytes.append(line.data(), qsizetype(line.size()));
        bytes.append("\r\n");
    }
};

// Runs one line, ended by CR LF, through the line stage as the cleaning pass does, and returns
// the bytes written for it: the cleaned line with its CR LF, or nothing.
inline QByteArray cleanOneLine(const QByteArray &line, bool scrollOn, tarnwick::CharacterRule rule = tarnwick::CharacterRule::Utf8)
{
    CollectedOutput output;
    tarnwick::LineStage stage(rule, rule, false, {}, output);
    const QByteArray text = line + "\r\n";
    std::uint64_t lines = 0;
    const std::size_t taken = stage.take(std::string_view(text.constData(), std::size_t(text.size())), 1, lines, [&] { return scrollOn; });
    if (taken != std::size_t(text.size()) || lines != 1)
        return "<more than one line was taken>";
    return output.bytes;
}

// Runs a whole source text through the line-end pass and the line stage, with the user's
// timestamps and the controls setting as given, and returns what is written.
inline QByteArray cleanText(const QByteArray &text, bool controlsOn, const QStringList &timestamps,
                            tarnwick::CharacterRule rule = tarnwick::CharacterRule::Utf8)
{
    std::string normalised;
    tarnwick::LineEndNormaliser normaliser(controlsOn);
    normaliser.append(text.toStdString(), normalised);
    normaliser.finish();
    CollectedOutput output;
    tarnwick::LineStage stage(rule, rule, controlsOn, {}, output, tarnwick::Screen::defaultHeight, timestamps);
    std::uint64_t lines = 0;
    const auto scrollOff = [] { return false; };
    stage.take(normalised, std::uint64_t(-1), lines, scrollOff);
    stage.finish(false, lines);
    return output.bytes;
}
