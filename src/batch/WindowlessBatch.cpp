#include "WindowlessBatch.h"

#include "conversion/OutputName.h"

namespace tarnwick {

WindowlessBatch::WindowlessBatch(const ProgramFiles &files, SettingsInForce settings, CharacterRule rule)
    : files_(files)
    , settings_(std::move(settings))
    , rule_(rule)
{
}

std::optional<RunOutcome> WindowlessBatch::convert(BatchOutputs &outputs)
{
    if (source_.isEmpty())
        return std::nullopt;
    const OutputNaming naming{settings_.keepDots, settings_.fileExt};
    const QString output = settings_.run.replacesSource ? source_ : naming.outputOf(source_);
    RunOptions options = settings_.run;
    options.batch = &outputs;
    options.naming = naming;
    return ConversionRun({source_, output, files_.temporaryFile, files_.temporaryFallback}, rule_, *this, options).run();
}

} // namespace tarnwick
