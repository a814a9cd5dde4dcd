#pragma once

#include "batch/Batch.h"
#include "batch/RunSettings.h"
#include "text/CharacterRule.h"

namespace tarnwick {

// The terminal and script mode (-c, or "-" as a log): each log, "-" being standard input, is
// cleaned in one pass straight to standard output, in order, without a window and without a
// temporary file, with the settings in force. Returns the exit status: 0 when
// every log was converted, 1 otherwise.
int convertToStandardOutput(const QStringList &logs, CharacterRule rule, const SettingsInForce &settings, const BatchReport &report);

} // namespace tarnwick
