#include "WindowlessBatch.h"

#include "RunApart.h"
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
    return Conversion{log.path, output, settings_.scroll, [rule = rule_, paths, options](BatchOutputs &outputs, ApartHost &host) mutable {
                          options.batch = &outputs;
                          ConversionRun run(paths, rule, host, options);
                          host.attach(run);
                          return run.run();
                      }};
}

std::optional<RunOutcome> WindowlessBatch::convert(BatchOutputs &outputs)
{
    auto conversion = conversionOf(source_);
    if (!conversion)
        return std::nullopt;
    ApartHost host(conversion->scroll);
    return conversion->run(outputs, host);
}

} // namespace tarnwick
