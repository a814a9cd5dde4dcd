#include "WindowlessBatch.h"

#include "conversion/OutputName.h"

namespace tarnwick {

WindowlessBatch::WindowlessBatch(const ProgramFiles &files, SettingsInForce settings, CharacterRule rule)
    : files_(files)
    , settings_(std::move(settings))
    , rule_(rule)
{
}

std::optional<Conversion> WindowlessBatch::conversionOf(const WalkedLog &log)
{
    if (log.path.isEmpty())
        return std::nullopt;
    const OutputNaming naming{settings_.keepDots, settings_.fileExt, settings_.outputFolder, log.tree};
    const QString output = settings_.run.replacesSource ? log.path : naming.outputOf(log.path);
    RunOptions options = settings_.run;
    options.naming = naming;
    const RunPaths paths{log.path, output, files_.temporaryFile, files_.temporaryFallback};
    return Conversion{log.path, output, [this, paths, options](BatchOutputs &outputs) mutable {
                          options.batch = &outputs;
                          return ConversionRun(paths, rule_, *this, options).run();
                      }};
}

std::optional<RunOutcome> WindowlessBatch::convert(BatchOutputs &outputs)
{
    const auto conversion = conversionOf(source_);
    return conversion ? std::optional(conversion->run(outputs)) : std::nullopt;
}

} // namespace tarnwick
