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

// Accepts a drag that carries files, with the action it proposes; refuses any other.
void answerDrag(QDragMoveEvent *event)
{
    if (carriesFile(event->mimeData()))
        event->acceptProposedAction();
    else
        event->ignore();
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
    Form_OLEDragDrop(event->mimeData());
    event->acceptProposedAction();
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
