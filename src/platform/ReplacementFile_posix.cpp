#include "ReplacementFile.h"

#include "EndingSignals.h"
#include "FileMetadata.h"

#include <QFileInfo>
#include <QSaveFile>

namespace tarnwick {

// QSaveFile writes beside the target and renames over it; the target's metadata is given to the
// new file just before.
struct ReplacementFile::Parts {
    QString target;
    QSaveFile file;
    bool replacing = false;
};

ReplacementFile::ReplacementFile(const QString &target)
    : parts_(new Parts{target, QSaveFile(target), false})
{
}

ReplacementFile::~ReplacementFile()
{
    discard();
}

bool ReplacementFile::open()
{
    parts_->replacing = QFileInfo(parts_->target).isFile();
    // Unbuffered, so that a failed write is seen at once and cancels the replacement.
    if (!parts_->file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    // QSaveFile does not tell its new file's name; the descriptor does. One made without a name
    // (O_TMPFILE) leaves nothing behind.
    const QString name = QFile::symLinkTarget(QStringLiteral("/proc/self/fd/%1").arg(parts_->file.handle()));
    if (!name.endsWith(QStringLiteral(" (deleted)")))
        removeOnForcedEnd(LeftBehind::Replacement, name);
    return true;
}

QFileDevice &ReplacementFile::device()
{
    return parts_->file;
}

bool ReplacementFile::commit()
{
    if (parts_->replacing)
        copyMetadata(parts_->target, parts_->file.handle());
    removeOnForcedEnd(LeftBehind::Replacement, {});
    return parts_->file.commit();
}

void ReplacementFile::discard()
{
    removeOnForcedEnd(LeftBehind::Replacement, {});
    // Destroying an uncommitted QSaveFile removes its new file.
    if (parts_->file.isOpen())
        parts_->file.cancelWriting();
}

QString ReplacementFile::errorString() const
{
    return parts_->file.errorString();
}

} // namespace tarnwick
