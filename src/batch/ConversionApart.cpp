#include "ConversionApart.h"

namespace tarnwick {

namespace {

class QuietHost final : public RunHost {
public:
    QuietHost(bool scroll, const std::atomic<bool> *aborted)
        : scroll_(scroll)
        , aborted_(aborted)
    {
    }
    void attach(ConversionRun &run) { run_ = &run; }

private:
    void showProgress(const QString &) override {}
    // The run's own thread: the abort is taken where the run would let events run.
    void processEvents() override
    {
        if (aborted_ && *aborted_ && run_)
            run_->abort();
    }
    bool scrollOn() const override { return scroll_; }

    const bool scroll_;
    const std::atomic<bool> *aborted_;
    ConversionRun *run_ = nullptr;
};

} // namespace

std::optional<Conversion> conversionApart(const WalkedLog &log, RunOptions options, OutputNaming naming, const QString &temporary,
                                          const QString &temporaryFallback, CharacterRule rule, bool scroll, const std::atomic<bool> *aborted)
{
    if (log.path.isEmpty())
        return std::nullopt;
    naming.tree = log.tree;
    const QString output = options.replacesSource ? log.path : naming.outputOf(log.path);
    options.naming = naming;
    const RunPaths paths{log.path, output, temporary, temporaryFallback};
    return Conversion{log.path, output, [rule, scroll, aborted, paths, options](BatchOutputs &outputs) mutable {
                          options.batch = &outputs;
                          QuietHost host(scroll, aborted);
                          ConversionRun run(paths, rule, host, options);
                          host.attach(run);
                          return run.run();
                      }};
}

} // namespace tarnwick
