#include "OpenFileDialog.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QTreeView>

using namespace Qt::StringLiterals;

namespace tarnwick {

namespace {
const QStringList logPatterns = {u"*.log"_s, u"*.txt"_s};
const QSize roomyDialog(760, 460);
} // namespace

void setUpOpenFileDialog(QFileDialog &dialog, const QString &initial)
{
    // Made here, once the translation is installed, not as the module loads.
    const QString logFilter = QCoreApplication::translate("tarnwick", "Log files (%1)").arg(logPatterns.join(u' '));
    const QString allFilter = QCoreApplication::translate("tarnwick", "All files (*)");
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters({logFilter, allFilter});
    const QFileInfo start(initial);
    if (!initial.isEmpty() && !start.isDir()) {
        dialog.setDirectory(start.absolutePath());
        dialog.selectFile(start.fileName());
        if (!QDir::match(logPatterns, start.fileName()))
            dialog.selectNameFilter(allFilter);
    } else if (!initial.isEmpty()) {
        dialog.setDirectory(initial);
    }
    // The toolkit's own dialog (where the system offers none) sizes its columns for short names.
    dialog.resize(roomyDialog);
    if (auto *view = dialog.findChild<QTreeView *>(u"treeView"_s)) {
        view->header()->setSectionResizeMode(0, QHeaderView::Stretch);
        for (int column = 1; column < view->header()->count(); ++column)
            view->header()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    }
}

} // namespace tarnwick
