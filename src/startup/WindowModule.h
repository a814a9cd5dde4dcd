#pragma once

#include "batch/WindowStart.h"

#include <QString>

namespace tarnwick {

struct WindowModule {
    WindowMain main = nullptr;
    WindowNotice notice = nullptr;
    explicit operator bool() const { return main && notice; }
};

// Loads the window's module (TARNWICK_WINDOW_MODULE, the file's name) and returns its entries; on
// Linux it is looked for along the program's run path, on Windows beside the program. None
// when it cannot be loaded, with the system's reason in `reason`. The module stays loaded until
// the program ends.
WindowModule loadWindowModule(QString &reason);

} // namespace tarnwick
