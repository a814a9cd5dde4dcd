#pragma once

#include "BatchWindow.h"
#include "ProgramFiles.h"
#include "RunSettings.h"
#include "text/CharacterRule.h"

namespace tarnwick {

// Stands in for the window in a batch that has no display to show it on: each log is converted
// as the window converts it (the same output name, settings and temporary file), but no widget
// is made, so that the run loads neither the widget stack nor fonts.
class WindowlessBatch final : public BatchWindow, private RunHost {
public:
    WindowlessBatch(const ProgramFiles &files, SettingsInForce settings, CharacterRule rule);

    void showForBatch() override {}
    bool isOpen() const override { return true; }
    void setSourcePath(const QString &path) override { source_ = path; }
    std::optional<RunOutcome> convert(BatchOutputs &outputs) override;
    // Only a batch with a window on a display lists its failures in a box.
    void showSummary(const BatchSummary &) override {}
    void exit() override {}

private:
    void showProgress(const QString &) override {}
    // An ending signal is seen by the run itself.
    void processEvents() override {}
    bool scrollOn() const override { return settings_.scroll; }

    ProgramFiles files_;
    SettingsInForce settings_;
    CharacterRule rule_;
    QString source_;
};

} // namespace tarnwick
