#pragma once

#include "BatchWindow.h"
#include "ProgramFiles.h"
#include "RunSettings.h"
#include "text/CharacterRule.h"

namespace tarnwick {

// Stands in for the window in a batch that has no display to show it on: each log is converted
// as the window converts it (the same output name, settings and temporary file), but no widget
// is made, so that the run loads neither the widget stack nor fonts.
class WindowlessBatch final : public BatchWindow {
public:
    WindowlessBatch(const ProgramFiles &files, SettingsInForce settings, CharacterRule rule);

    void showForBatch() override {}
    bool isOpen() const override { return true; }
    void setSourcePath(const QString &path, const QString &tree) override { source_ = {path, tree}; }
    std::optional<RunOutcome> convert(BatchOutputs &outputs) override;
    // It shows no log, so each may run apart.
    bool runsApart() const override { return true; }
    std::optional<Conversion> conversionOf(const WalkedLog &log) override;
    // Only a batch with a window on a display lists its failures in a box.
    void showSummary(const BatchSummary &) override {}
    void exit() override {}

private:
    ProgramFiles files_;
    SettingsInForce settings_;
    CharacterRule rule_;
    WalkedLog source_;
};

} // namespace tarnwick
