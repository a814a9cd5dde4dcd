#pragma once

#include "RunSettings.h"

#include <QStringList>

namespace tarnwick {

// What the program hands the window's module, which it loads only when a window is to be shown,
// so that the runs without one load neither Qt Gui nor Qt Widgets.
struct WindowStart {
    QStringList logs;     // a batch's, in the order given; none for the window alone
    bool batch = false;   // logs were given, converted or refused
    RunSettings settings; // the command line's
};

// The module's one entry, by this name: shows the window, or runs the batch in it, and returns
// the exit status.
using WindowMain = int (*)(const WindowStart &start);
inline constexpr char windowMainName[] = "tarnwickWindowMain";

} // namespace tarnwick
