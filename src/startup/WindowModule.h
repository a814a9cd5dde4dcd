#pragma once

#include "batch/WindowStart.h"

#include <QString>

namespace tarnwick {

// Loads the window's module (TARNWICK_WINDOW_MODULE, the file's name) and returns its entry; on
// Linux it is looked for along the program's run path, on Windows beside the program. Nothing
// when it cannot be loaded, with the system's reason in `reason`. The module stays loaded until
// the program ends.
WindowMain loadWindowModule(QString &reason);

} // namespace tarnwick
