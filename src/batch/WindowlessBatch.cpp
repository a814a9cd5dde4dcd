#include "WindowlessBatch.h"

#include "ConversionApart.h"

namespace tarnwick {

WindowlessBatch::WindowlessBatch(const ProgramFiles &files, SettingsInForce settings, CharacterRule rule)
    : files_(files)
    , settings_(std::move(settings))
    , rule_(rule)
{
}

std::optional<Conversion> WindowlessBatch::conversionOf(const WalkedLog &log)
{
    return conversionApart(log, settings_.run, {settings_.keepDots, settings_.fileExt, settings_.outputFolder}, files_.temporaryFile,
                           files_.temporaryFallback, rule_, settings_.scroll);
}

std::optional<RunOutcome> WindowlessBatch::convert(BatchOutputs &outputs)
{
    auto conversion = conversionOf(source_);
    if (!conversion)
        return std::nullopt;
    return conversion->run(outputs);
}

} // namespace tarnwick
