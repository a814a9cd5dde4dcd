// Choosing the source log: dropping a file on the window and browsing for one.

#include "frmTarnwick.h"

#include <QKeyEvent>
#include <QPushButton>

#include "settings/ProfileSettings.h"

#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

namespace {

bool carriesFile(const QMimeData *data)
{
    return data && data->hasUrls() && !data->urls().isEmpty() && data->urls().first().isLocalFile();
}

// Accepts a drag that carries files as a copy (or, where the source offers no copy, a link):
// the source log stays where it is, so the drag source must never be told it was moved.
void answerDrag(QDropEvent *event)
{
    const Qt::DropActions offered = event->possibleActions();
    if (carriesFile(event->mimeData()) && (offered & (Qt::CopyAction | Qt::LinkAction))) {
        event->setDropAction(offered & Qt::CopyAction ? Qt::CopyAction : Qt::LinkAction);
        event->accept();
    } else {
        event->ignore();
    }
}

} // namespace

void frmTarnwick::Form_OLEDragDrop(const QMimeData *dropped)
{
    if (!carriesFile(dropped))
        return;
    QStringList paths;
    for (const QUrl &url : dropped->urls()) {
        if (url.isLocalFile())
            paths.append(QDir::toNativeSeparators(url.toLocalFile()));
    }
    if (paths.size() == 1 && !QFileInfo(paths.first()).isDir())
        Text1->setText(paths.first());
    else
        convertDropped(paths);
}

void frmTarnwick::dragEnterEvent(QDragEnterEvent *event)
{
    answerDrag(event);
}

void frmTarnwick::dragMoveEvent(QDragMoveEvent *event)
{
    answerDrag(event);
}

void frmTarnwick::dropEvent(QDropEvent *event)
{
    answerDrag(event);
    if (event->isAccepted())
        Form_OLEDragDrop(event->mimeData());
}

// The controls' drag and drop events come here, so that a control never takes the drop itself
// (no text is inserted into a box, no button is pressed).
bool frmTarnwick::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove:
        answerDrag(static_cast<QDragMoveEvent *>(event));
        return true;
    case QEvent::Drop:
        dropEvent(static_cast<QDropEvent *>(event));
        return true;
    case QEvent::KeyPress: {
        // Enter presses the focused button, as on Windows.
        const int key = static_cast<QKeyEvent *>(event)->key();
        auto *button = qobject_cast<QPushButton *>(watched);
        if (button && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
            button->click();
            return true;
        }
        return QWidget::eventFilter(watched, event);
    }
    default:
        return QWidget::eventFilter(watched, event);
    }
}

// With an empty source box the dialog starts in the folder of the last log chosen, also after a
// restart; the folder is kept in the profile, written only when it changes.
void frmTarnwick::Command3_Click()
{
    Text1->setFocus();
    const QString initial = Text1->text().isEmpty() ? lastFolder_ : Text1->text();
    if (const auto chosen = dialogs.openFile(this, initial)) {
        Text1->setText(*chosen);
        tarnwick::settings::keepText(QDir::toNativeSeparators(QFileInfo(*chosen).absolutePath()), lastFolder_, IniFile,
                                     tarnwick::settings::lastFolderKey);
    }
}
