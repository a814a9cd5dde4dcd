#include "ReplacementFile.h"

#include "EndingSignals.h"
#include "WideName_windows.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

#include <windows.h>

namespace tarnwick {

// Written as a new temporary file beside the target; ReplaceFileW then puts it in the target's
// place and gives it the target's security descriptor, attributes and alternate data streams,
// which a rename (what QSaveFile does) would lose.
struct ReplacementFile::Parts {
    QString target;
    QFile file;
    QString error;
    bool created = false;
};

namespace {

QString systemError()
{
    return qt_error_string(int(GetLastError()));
}


} // namespace

ReplacementFile::ReplacementFile(const QString &target)
    : parts_(new Parts{QDir::toNativeSeparators(QFileInfo(target).absoluteFilePath()), QFile(), {}, false})
{
}

ReplacementFile::~ReplacementFile()
{
    discard();
}

// A name beside the target that nothing has (QTemporaryFile would keep its file open after
// close(), so that it could not be moved).
bool ReplacementFile::open()
{
    for (int attempt = 0; attempt < 16 && !parts_->created; ++attempt) {
        parts_->file.setFileName(parts_->target + QStringLiteral(".%1.new").arg(QRandomGenerator::system()->generate(), 8, 16, QLatin1Char('0')));
        parts_->created = parts_->file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered);
    }
    if (!parts_->created) {
        parts_->error = parts_->file.errorString();
        return false;
    }
    removeOnForcedEnd(LeftBehind::Replacement, parts_->file.fileName());
    return true;
}

QFileDevice &ReplacementFile::device()
{
    return parts_->file;
}

bool ReplacementFile::commit()
{
    removeOnForcedEnd(LeftBehind::Replacement, {});
    const QString replacement = QDir::toNativeSeparators(parts_->file.fileName());
    if (!parts_->file.flush()) {
        parts_->error = parts_->file.errorString();
        return false;
    }
    parts_->file.close();
    const bool replaced = QFileInfo::exists(parts_->target)
        ? ReplaceFileW(wideName(parts_->target), wideName(replacement), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)
        : MoveFileExW(wideName(replacement), wideName(parts_->target), MOVEFILE_WRITE_THROUGH);
    if (!replaced) {
        parts_->error = systemError();
        return false;
    }
    parts_->created = false;
    return true;
}

void ReplacementFile::discard()
{
    removeOnForcedEnd(LeftBehind::Replacement, {});
    if (parts_->created)
        parts_->file.remove();
    parts_->created = false;
}

QString ReplacementFile::errorString() const
{
    return parts_->error;
}

} // namespace tarnwick
