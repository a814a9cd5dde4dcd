#include "BatchOutputs.h"

#include <QDir>
#include <QFileInfo>

namespace tarnwick {

const BatchOutputs::Written *BatchOutputs::writtenAt(const QString &output) const
{
    const auto target = fileIdentity(output);
    const auto found = target ? written_.find(*target) : written_.end();
    return found == written_.end() ? nullptr : &found->second;
}

bool BatchOutputs::Written::isFor(const QString &log) const
{
    return source && source == fileIdentity(log);
}

std::optional<QString> BatchOutputs::writtenForAnother(const QString &output, const QString &source) const
{
    const QMutexLocker lock(&mutex_);
    const Written *written = writtenAt(output);
    if (!written || written->isFor(source))
        return std::nullopt;
    return written->sourceName;
}

bool BatchOutputs::writtenFor(const QString &output, const QString &source) const
{
    const QMutexLocker lock(&mutex_);
    const Written *written = writtenAt(output);
    return written && written->isFor(source);
}

void BatchOutputs::record(const QString &output, const QString &source)
{
    const QMutexLocker lock(&mutex_);
    if (const auto target = fileIdentity(output))
        written_[*target] = {fileIdentity(source), source};
}

std::optional<QString> BatchOutputs::otherLogNamedAlike(const QString &output, const QString &source, const OutputNaming &naming)
{
    const QMutexLocker lock(&mutex_);
    const QFileInfo log(source);
    const QString suffix = log.suffix();
    const QString folder = log.absolutePath();
    auto listing = listings_.find(folder);
    if (listing == listings_.end())
        listing = listings_.emplace(folder, QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name)).first;
    const QString outputName = QFileInfo(output).fileName();
    const auto outputFile = fileIdentity(output);
    const auto sourceFile = fileIdentity(source);
    for (const QString &name : listing->second) {
        if (suffix.isEmpty() || QFileInfo(name).suffix().compare(suffix, Qt::CaseInsensitive) != 0 || name == log.fileName())
            continue;
        const QString other = log.dir().filePath(name);
        // Names are compared first, so that only a likely match costs a look at the disk.
        if (QFileInfo(naming.outputOf(other)).fileName().compare(outputName, Qt::CaseInsensitive) != 0)
            continue;
        if (fileIdentity(naming.outputOf(other)) == outputFile && fileIdentity(other) != sourceFile)
            return QDir::toNativeSeparators(other);
    }
    return std::nullopt;
}

} // namespace tarnwick
