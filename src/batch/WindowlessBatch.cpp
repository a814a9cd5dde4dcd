#include "WindowlessBatch.h"

#include "conversion/OutputName.h"

namespace tarnwick {

namespace {

// The host of a run that nobody watches, which may run on a thread of its own beside others: it
// shows nothing and lets no event run (an ending signal is seen by the run itself), and a source
// that does not look like text is converted, the outcome saying so.
class QuietHost final : public RunHost {
public:
    explicit QuietHost(bool scroll)
        : scroll_(scroll)
    {
    }

private:
    void showProgress(const QString &) override {}
    void processEvents() override {}
    bool scrollOn() const override { return scroll_; }

    const bool scroll_;
};

} // namespace

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
    return Conversion{log.path, output, [rule = rule_, scroll = settings_.scroll, paths, options](BatchOutputs &outputs) mutable {
                          options.batch = &outputs;
                          QuietHost host(scroll);
                          return ConversionRun(paths, rule, host, options).run();
                      }};
}

std::optional<RunOutcome> WindowlessBatch::convert(BatchOutputs &outputs)
{
    auto conversion = conversionOf(source_);
    if (!conversion)
        return std::nullopt;
    return conversion->run(outputs);
}

} // namespace tarnwick
