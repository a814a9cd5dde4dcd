#pragma once

#include <QByteArray>
#include <QString>

namespace tarnwick {

// Whether a window can be shown: a display named in the environment (Linux), an interactive
// desktop (Windows).
bool displayExpected();

// The toolkit's platforms to try in turn, ending with offscreen, so that a display that cannot
// be opened (a stale DISPLAY over SSH or in tmux) is no abort; empty where the user has named a
// platform (QT_QPA_PLATFORM) or the system's own always opens (Windows). And the display's
// name, for messages.
QByteArray platformsWithFallback();
QString displayName();

} // namespace tarnwick
