#pragma once

#include "Messages.h"
#include "RunSettings.h"

#include <QStringList>

namespace tarnwick {

// What the program hands the window's module, which it loads only when a window is to be shown,
// so that the runs without one load neither Qt Gui nor Qt Widgets.
struct WindowStart {
    QStringList logs;     // a batch's, in the order given; none for the window alone
    bool batch = false;   // logs were given, converted or refused
    QList<Problem> refused; // the logs given that are not to be converted
    RunSettings settings; // the command line's
};

// The module's one entry, by this name: shows the window, or runs the batch in it, and returns
// the exit status.
using WindowMain = int (*)(const WindowStart &start);
inline constexpr char windowMainName[] = "tarnwickWindowMain";

// Its second entry: words that nobody would read on standard output or error (the help, a usage
// error, for a program started from the desktop) in a message box, a problem's or a notice's;
// returns once the box is closed, true; false where no box can be seen (no display to open).
using WindowNotice = bool (*)(const QString &words, bool problem);
inline constexpr char windowNoticeName[] = "tarnwickWindowNotice";

} // namespace tarnwick
