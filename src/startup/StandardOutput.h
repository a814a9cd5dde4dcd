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

// The follow mode (-f): the log is cleaned to standard output from its start and on as it grows,
// as the pipe cleans what comes through it (see FollowedLog), until an ending signal. Returns
// the signal's exit status, or 1 when the log could not be read or the output written.
int followToStandardOutput(const QString &log, CharacterRule rule, const SettingsInForce &settings, const BatchReport &report);

} // namespace tarnwick
