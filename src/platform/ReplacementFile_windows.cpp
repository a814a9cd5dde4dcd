#include "ReplacementFile.h"

#include "EndingSignals.h"
#include "FileMetadata.h"
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
    bool direct = false; // a device, written as it is
    std::optional<FileIdentity> replaced;
    Refusal refusal = Refusal::None;
};

namespace {

QString systemError()
{
    return qt_error_string(int(GetLastError()));
}


} // namespace

ReplacementFile::ReplacementFile(const QString &target)
    : parts_(new Parts{QDir::toNativeSeparators(QFileInfo(target).absoluteFilePath()), QFile(), {}, false, false, std::nullopt, Refusal::None})
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
    discard();
    parts_->refusal = Refusal::None;
    const QFileInfo target(parts_->target);
    if (target.isFile() && isReadOnly(parts_->target)) {
        parts_->refusal = Refusal::ReadOnly;
        return false;
    }
    parts_->replaced = fileIdentity(parts_->target);
    if (target.exists() && !target.isFile() && !target.isDir()) {
        parts_->file.setFileName(parts_->target);
        parts_->direct = parts_->file.open(QIODevice::WriteOnly | QIODevice::Unbuffered | QIODevice::Truncate);
        parts_->error = parts_->file.errorString();
        return parts_->direct;
    }
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

std::optional<FileIdentity> ReplacementFile::replaced() const
{
    return parts_->replaced;
}

bool ReplacementFile::commit()
{
    if (parts_->direct) {
        const bool flushed = parts_->file.flush();
        parts_->error = parts_->file.errorString();
        parts_->file.close();
        parts_->direct = false;
        return flushed;
    }
    removeOnForcedEnd(LeftBehind::Replacement, {});
    const QString replacement = QDir::toNativeSeparators(parts_->file.fileName());
    if (!parts_->file.flush()) {
        parts_->error = parts_->file.errorString();
        return false;
    }
    parts_->file.close();
    // Only the file that was found at open() is replaced (or, for a new target, nothing).
    if (fileIdentity(parts_->target) != parts_->replaced) {
        discard();
        parts_->refusal = Refusal::Changed;
        return false;
    }
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
    if (parts_->direct)
        parts_->file.close();
    parts_->direct = false;
    removeOnForcedEnd(LeftBehind::Replacement, {});
    if (parts_->created)
        parts_->file.remove();
    parts_->created = false;
}

ReplacementFile::Refusal ReplacementFile::refusal() const
{
    return parts_->refusal;
}

QString ReplacementFile::errorString() const
{
    return parts_->error;
}

} // namespace tarnwick
