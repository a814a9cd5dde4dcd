#pragma once

#include "Messages.h"
#include "conversion/BatchOutputs.h"
#include "conversion/ConversionRun.h"

#include <QString>

#include <optional>

namespace tarnwick {

// What a command-line batch needs of the window it drives, and no more: the batch converts each
// path as if it had been typed into the source box and the convert button pressed.
class BatchWindow {
public:
    // Shows the window for the batch and lets it paint.
    virtual void showForBatch() = 0;
    // False once the user has closed the window.
    virtual bool isOpen() const = 0;
    // The path as typed into the source box (the output name follows it).
    virtual void setSourcePath(const QString &path) = 0;
    // The convert button, for a batch whose earlier outputs the run must not replace; nothing
    // when a path is missing. A failure is returned, not told.
    virtual std::optional<RunOutcome> convert(BatchOutputs &outputs) = 0;
    // What the batch did, in a message box, for a batch started from the desktop.
    virtual void showSummary(const BatchSummary &summary) = 0;
    // The exit button: ends the program.
    virtual void exit() = 0;

protected:
    ~BatchWindow() = default;
};

} // namespace tarnwick
