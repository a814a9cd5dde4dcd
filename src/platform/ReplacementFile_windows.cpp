#include "ReplacementFile.h"

#include "EndingSignals.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

#include <windows.h>

namespace tarnwick {

// Written as a new temporary file beside the target; ReplaceFileW then puts it in the target's
// place and gives it the target's security descriptor, attributes and alternate data streams,
// which a rename (what QSaveFile does) would lose.
struct ReplacementFile::Parts {
    QString target;
    QTemporaryFile file;
    QString error;
};

namespace {

QString systemError()
{
    return qt_error_string(int(GetLastError()));
}

const wchar_t *wide(const QString &path)
{
    return reinterpret_cast<const wchar_t *>(path.utf16());
}

} // namespace

ReplacementFile::ReplacementFile(const QString &target)
    : parts_(new Parts{QDir::toNativeSeparators(QFileInfo(target).absoluteFilePath()), QTemporaryFile(target + QStringLiteral(".XXXXXX")), {}})
{
}

ReplacementFile::~ReplacementFile()
{
    discard();
}

bool ReplacementFile::open()
{
    if (!parts_->file.open()) {
        parts_->error = parts_->file.errorString();
        return false;
    }
    removeOnForcedEnd(LeftBehind::Replacement, parts_->file.handle());
    return true;
}

QFileDevice &ReplacementFile::device()
{
    return parts_->file;
}

bool ReplacementFile::commit()
{
    removeOnForcedEnd(LeftBehind::Replacement, -1);
    const QString replacement = QDir::toNativeSeparators(parts_->file.fileName());
    if (!parts_->file.flush()) {
        parts_->error = parts_->file.errorString();
        return false;
    }
    FlushFileBuffers(reinterpret_cast<HANDLE>(_get_osfhandle(parts_->file.handle())));
    parts_->file.close();
    const bool replaced = QFileInfo::exists(parts_->target)
        ? ReplaceFileW(wide(parts_->target), wide(replacement), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)
        : MoveFileExW(wide(replacement), wide(parts_->target), MOVEFILE_WRITE_THROUGH);
    if (!replaced) {
        parts_->error = systemError();
        return false;
    }
    parts_->file.setAutoRemove(false);
    return true;
}

void ReplacementFile::discard()
{
    removeOnForcedEnd(LeftBehind::Replacement, -1);
    parts_->file.close();
    parts_->file.remove();
}

QString ReplacementFile::errorString() const
{
    return parts_->error;
}

} // namespace tarnwick
