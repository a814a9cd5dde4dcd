#pragma once

#include "batch/Messages.h"

#include <QString>

namespace tarnwick {

// The lines a run writes to standard error, each "tarnwick: " and the text, in the language of
// the user's locale. A name is shown with its control characters (a line break, an escape) as
// escapes of their own, so that a name can neither fake a line nor drive the terminal.
void sayOnStandardError(const QString &line);
void reportOnStandardError(const Problem &problem);

// A profile that is not a regular file, or is too large, is left alone, and one that is not the
// user's own to write is only read: said once, at start.
void warnOfUnusableProfile(const QString &profile);

} // namespace tarnwick
