#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class frmTarnwick;

namespace tarnwick {

// Where a batch tells of each file it did not convert: the file as given and the reason.
using BatchReport = std::function<void(const QString &file, const QString &reason)>;

// Converts each path in turn, as if it had been typed into the source box and the convert
// button pressed, then ends the program with the exit button. The user may abort a file (the
// batch goes on with the next) or close the window (the batch ends there, and each path not
// yet converted is reported). An empty path is refused by the run and does not count.
// Returns the exit status: 0 when every path was converted, 1 when one was not, 128 + the
// signal when an ending signal arrived.
int runBatch(frmTarnwick &form, const QStringList &paths, const BatchReport &report);

} // namespace tarnwick
