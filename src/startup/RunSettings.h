#pragma once

#include "conversion/ConversionRun.h"
#include "conversion/SourceEncoding.h"

#include <QString>
#include <QStringList>

#include <optional>

class frmTarnwick;

namespace tarnwick {

// This run's settings in place of the profile's, from the command line; what is not given comes
// from the profile. They never change the profile.
struct RunSettings {
    std::optional<bool> overWrite;
    std::optional<bool> scroll;
    std::optional<QString> fileExt;
    std::optional<bool> controls;
    std::optional<EncodingSetting> encoding;
    std::optional<bool> keepDots;
    QStringList pagerPrompts{}; // in addition to the profile's
};

// Puts the settings into the window's controls and form variables, so that the window shows
// the settings in force, without writing them into the profile.
void applyRunSettings(frmTarnwick &form, const RunSettings &settings);

// Every setting of a run without the window: the command line's, else the profile's (with the
// window's extension at a first start).
struct SettingsInForce {
    RunOptions run; // controls, pager prompts, encoding; the overwrite setting as replacesSource
    bool scroll = false;
    QString fileExt;
    bool keepDots = false;
};
SettingsInForce settingsInForce(const RunSettings &settings, const QString &profile);

} // namespace tarnwick
