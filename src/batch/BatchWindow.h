#pragma once

#include "LogWalk.h"
#include "Messages.h"
#include "conversion/BatchOutputs.h"
#include "conversion/ConversionRun.h"

#include <QString>

#include <functional>
#include <optional>

namespace tarnwick {

// A conversion of one log that may run on a thread of its own, beside others: what it reads and
// writes, so that a log that reads or writes what another writes waits for it, and the run.
struct Conversion {
    QString source;
    QString output;
    std::function<RunOutcome(BatchOutputs &outputs)> run;
};

// What a command-line batch needs of the window it drives, and no more: the batch converts each
// path as if it had been typed into the source box and the convert button pressed.
class BatchWindow {
public:
    // Shows the window for the batch and lets it paint.
    virtual void showForBatch() = 0;
    // False once the user has closed the window.
    virtual bool isOpen() const = 0;
    // The path as typed into the source box (the output name follows it); `tree`, the folder
    // given that the log was found in, places the output in the output folder (see OutputNaming).
    virtual void setSourcePath(const QString &path, const QString &tree = {}) = 0;
    // The convert button, for a batch whose earlier outputs the run must not replace; nothing
    // when a path is missing. A failure is returned, not told.
    virtual std::optional<RunOutcome> convert(BatchOutputs &outputs) = 0;
    // Whether its logs' conversions may run apart from it, on threads of their own beside each
    // other (conversionOf): not where it shows the one log it converts.
    virtual bool runsApart() const { return false; }
    // The log's conversion as convert() would make it, where runsApart(); nothing for an empty path.
    virtual std::optional<Conversion> conversionOf(const WalkedLog &log)
    {
        static_cast<void>(log);
        return std::nullopt;
    }
    // What the batch did, in a message box, for a batch started from the desktop.
    virtual void showSummary(const BatchSummary &summary) = 0;
    // The exit button: ends the program.
    virtual void exit() = 0;

protected:
    ~BatchWindow() = default;
};

} // namespace tarnwick
