#pragma once

#include "ConversionRun.h"
#include "Pipeline.h"
#include "SecretMasking.h"

#include <optional>

namespace tarnwick {

// What stands between the line stage and an output channel, as a run's options make it: the
// masking stage where it is on, then the channel's sink. Made alike by the file run's cleaning
// pass and by the pipe.
class OutputStages {
public:
    OutputStages(TextOutput &channel, const RunOptions &options)
        : channel_(channel)
    {
        if (options.masking)
            masking_.emplace(channel_, options.secretShapes, options.timestamps);
    }
    OutputStages(const OutputStages &) = delete;
    OutputStages &operator=(const OutputStages &) = delete;

    ChannelSink &channel() { return channel_; }
    // Where the cleaned lines go.
    Sink &first() { return masking_ ? static_cast<Sink &>(*masking_) : channel_; }
    // The secrets masked so far; nothing with masking off.
    std::optional<std::uint64_t> secretsMasked() const
    {
        return masking_ ? std::optional(masking_->count()) : std::nullopt;
    }

private:
    ChannelSink channel_;
    std::optional<MaskingSink> masking_;
};

} // namespace tarnwick
