#pragma once

#include <QString>

class QFileDialog;

namespace tarnwick {

// The open-file dialog for a source log: logs (*.log, *.txt) listed first, all files as the
// other filter, starting at the file or folder given (all files where that file is no log),
// with columns wide enough to read a file's size and type.
void setUpOpenFileDialog(QFileDialog &dialog, const QString &initial);

} // namespace tarnwick
