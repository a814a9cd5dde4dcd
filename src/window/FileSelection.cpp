// Choosing the source log: dropping a file on the window and browsing for one.

#include "frmTarnwick.h"

#include <QDir>
#include <QDropEvent>
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
    if (carriesFile(dropped))
        Text1->setText(QDir::toNativeSeparators(dropped->urls().first().toLocalFile()));
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
    default:
        return QWidget::eventFilter(watched, event);
    }
}

void frmTarnwick::Command3_Click()
{
    Text1->setFocus();
    if (const auto chosen = dialogs.openFile(this, Text1->text()))
        Text1->setText(*chosen);
}
